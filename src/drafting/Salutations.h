#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// Recognises the greeting that opens a message and the sign-off that closes it, in the reply languages,
// so the layout can put them on their own lines, drop them from chat and never sign an e-mail twice.
class Salutations {
public:
    struct Greeting {
        QString line; // "Hi Anna,"
        QString rest; // text that followed the greeting on the same line, if any
        bool operator==(const Greeting&) const = default;
    };

    struct Closing {
        QString phrase;       // as written, with its punctuation: "Best regards,"
        QString languageCode; // the language the phrase belongs to ("en", "de", ...)
        QString name;         // a name written on the same line ("Best, Anna" gives "Anna"), else empty
        bool operator==(const Closing&) const = default;
    };

    // A first line that opens with a greeting ("Hi Anna," or "Hallo Tom, danke für ..."): the greeting and
    // what followed it on the line. None for a line that only starts like one ("Hey, that works").
    static std::optional<Greeting> greeting(const QString& line);

    // A line that is a sign-off and nothing else ("Best,", "Viele Grüße", "Thanks, Anna"). A sentence
    // that merely starts with one ("Thanks for the update.") is not.
    static std::optional<Closing> closing(const QString& line);
};

} // namespace lumeno
