#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace lumeno {

// A fact the user asked to remember, about a person and/or a conversation thread.
struct Pin {
    QUuid id;
    QString text;
    std::optional<QUuid> personID;
    std::optional<QString> thread; // the conversation's window title
    QDateTime createdAt;

    bool operator==(const Pin&) const = default;
};

} // namespace lumeno
