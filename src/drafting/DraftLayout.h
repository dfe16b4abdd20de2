#pragma once

#include <QString>
#include <QStringList>

namespace lumeno {

// Gives a cleaned draft the shape its kind of message expects. An e-mail gets its greeting on a line of
// its own, paragraphs divided by blank lines and exactly one sign-off with the user's name under it; a chat
// message gets neither greeting line nor signature and stays a few short lines.
class DraftLayout {
public:
    struct Signature {
        QString signOff;      // the user's e-mail sign-off ("Best,"), may be empty
        QString signName;     // the name under the sign-off, may be empty
        QStringList ownNames; // every name the user goes by: a line holding one of them is a signature
        bool operator==(const Signature&) const = default;
    };

    static QString email(const QString& text, const Signature& signature);
    static QString chat(const QString& text, const Signature& signature);
    // LinkedIn and unknown fields: paragraphs kept as written, a doubled signature reduced to one.
    static QString plain(const QString& text, const Signature& signature);
};

} // namespace lumeno
