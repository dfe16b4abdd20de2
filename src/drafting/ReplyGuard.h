#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// Last checks on a draft, and the language a text is written in.
class ReplyGuard {
public:
    // The draft with a runaway or cut-off end removed. A model that reaches its token limit stops in the
    // middle of a sentence; one that ignores the limit rambles on. Either way the draft ends at the last
    // whole sentence within the limit, unless that would throw most of it away.
    static QString guarded(const QString& text, int tokenLimit);

    // The dominant language of `text` among the reply languages; English when the text is too short to
    // tell or in none of them.
    static QString languageCode(const QString& text);
    // The same, but none instead of the English default.
    static std::optional<QString> detectedLanguage(const QString& text);

    // About how many model tokens `text` takes: four characters of alphabetic text per token, one
    // character of Chinese, Japanese, Korean or Thai.
    static int estimatedTokens(const QString& text);
};

} // namespace lumeno
