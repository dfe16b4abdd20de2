#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// Whether a paste arrived, judged from a field's text before and after it.
struct PasteCheck {
    bool verified = false;
    // Line breaks in what arrived; none when the field's text couldn't be read both times.
    std::optional<int> foundLineBreaks;

    // The paste counts as arrived when the field now holds the pasted text once more than the part of
    // `before` the paste left in place (`kept`: before without the selection it replaced; by default all of
    // it); spacing may differ, since editors turn line breaks into paragraphs or spaces.
    static PasteCheck evaluate(const std::optional<QString>& before, const std::optional<QString>& after,
                               const QString& pasted, const std::optional<QString>& kept = std::nullopt);
    // "\r\n", "\n", "\r" and the paragraph separator each count once.
    static int lineBreaks(const QString& text);

    bool operator==(const PasteCheck&) const = default;
};

} // namespace lumeno
