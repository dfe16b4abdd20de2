#pragma once

#include <QString>
#include <QUuid>

namespace lumeno {

// A person from memory the user may pick as the one a reply is to.
struct PersonChoice {
    QUuid id;
    QString name;
    bool operator==(const PersonChoice&) const = default;
};

} // namespace lumeno
