#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace lumeno {

// A person card: someone the user corresponds with.
struct Person {
    QUuid id;
    QString name;
    QStringList aliases; // e-mail addresses and handles the person shows up under
    QString notes;
    QDateTime createdAt;
    QDateTime updatedAt;

    // The first space-separated word of the name; the name unchanged when it has no word at all.
    QString firstName() const;

    bool operator==(const Person&) const = default;
};

} // namespace lumeno
