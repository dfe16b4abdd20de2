#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace lumeno {

// A language the program can take dictation in and reply in.
struct ReplyLanguage {
    QString code; // ISO 639-1, lower case: "en", "sl", "zh", "no"
    QString name; // English name, as shown and as told to the model: "Slovenian"

    bool operator==(const ReplyLanguage&) const = default;

    // The 28 shipped languages in display order: English first, then by name.
    static const std::vector<ReplyLanguage>& shipped();
    // The shipped row with this code, if any.
    static std::optional<ReplyLanguage> withCode(const QString& code);

    // The shipped code a locale identifier or language code stands for ("en-US", "sl_SI.UTF-8", "de"):
    // every Chinese variant is "zh", Norwegian Bokmål, Nynorsk and plain Norwegian are "no"; none for a
    // language not shipped.
    static std::optional<QString> codeMatching(const QString& localeOrLanguage);
};

} // namespace lumeno
