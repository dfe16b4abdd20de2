#pragma once

#include "platform/Accessibility.h"

#include <QString>
#include <optional>
#include <vector>

namespace lumeno {

// A field with the elements beside it in its parent. Word processors give each paragraph an element of
// its own: a paste of several lines splits the one that held the caret and adds one for each further
// line, so the pasted text is found only across them. Both reads are blocking (the port's thread).
class ParagraphSpan {
public:
    // Neighbours taken on each side, however many lines a paste has.
    static constexpr int maxReach = 32;

    // `field` and up to `reach` neighbours on each side; empty when its parent does not list it.
    static ParagraphSpan around(Accessibility& accessibility, const AccessibleElement& field, int reach);

    // Their texts, one line each; none when the span is empty or the field's own text is unknown.
    const std::optional<QString>& text() const { return text_; }

    // The same stretch read again: everything now between the neighbours that bordered it (so that
    // elements added inside it count), at most `added` more elements than before; none when the
    // stretch can no longer be found.
    std::optional<QString> readAgain(Accessibility& accessibility, int added) const;

private:
    static std::optional<QString> joined(Accessibility& accessibility,
                                         const std::vector<AccessibleElement>& elements);

    std::optional<AccessibleElement> parent_;
    std::optional<AccessibleElement> before_; // the sibling just before the stretch, none at the start
    std::optional<AccessibleElement> after_;  // the sibling just after it, none at the end
    std::vector<AccessibleElement> elements_;
    std::optional<QString> text_;
};

} // namespace lumeno
