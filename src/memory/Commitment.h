#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace lumeno {

// Something the user promised, possibly to someone and by some date.
struct Commitment {
    QUuid id;
    QString text;
    std::optional<QDateTime> due;
    std::optional<QUuid> personID; // may name a person that no longer exists: readers treat that as none
    bool done = false;
    QDateTime createdAt;

    bool operator==(const Commitment&) const = default;
};

} // namespace lumeno
