#pragma once

#include <QString>
#include <QStringList>

namespace lumeno {

// What the draft knows about one person: handed to the prompt and shown in the diagnostics.
struct PersonCard {
    QString name;
    QString notes;
    QStringList commitments; // one line per open commitment, due date in words
    QStringList pins;        // one pinned fact per entry

    // The card as one text: the name, then the notes, open commitments and pins that are present.
    QString rendered() const;

    bool operator==(const PersonCard&) const = default;
};

} // namespace lumeno
