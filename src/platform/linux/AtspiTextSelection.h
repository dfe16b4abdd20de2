#pragma once

#include "platform/linux/AtspiDesktop.h"
#include "platform/linux/AtspiExpandedText.h"
#include "support/TextRange.h"

#include <optional>

namespace lumeno {

// A field's selection, or its caret as an empty one, in the field's expanded text (AtspiTextReader).
//
// In a rich editor the editor reports a selection over the embedded objects it touches, and each object
// its own part: a word selected in the second paragraph is, to the editor, the whole paragraph. Each end
// is followed down into the object it falls on for as long as that object holds the end itself. A
// selection is set in the object that holds both its ends.
class AtspiTextSelection {
public:
    explicit AtspiTextSelection(AtspiDesktop& desktop) : desktop_(desktop) {}

    struct Selection {
        AtspiExpandedText expanded;
        TextRange range; // in expanded.text, UTF-16 units
    };
    // None when it cannot be read, or cannot be believed.
    std::optional<Selection> read(const AtspiNode& node);
    // `range` in the expanded text; an empty one puts the caret there. False when no one object holds
    // both ends.
    bool select(const AtspiNode& node, TextRange range);

private:
    struct Span {
        qsizetype start = 0; // UTF-16 indexes into the object's own text
        qsizetype end = 0;
    };
    // The object's own selection, or its caret; none when it has neither.
    std::optional<Span> ownSelection(const AtspiNode& node, const QString& raw);
    // Where an end of the selection lies in the expanded text, followed into the objects it falls on.
    qsizetype follow(const AtspiExpandedText& expanded, AtspiExpandedText::Place place, AtspiExpandedText::Edge edge);

    AtspiDesktop& desktop_;
    bool doubtful_ = false; // an object reported a selection that cannot be believed
};

} // namespace lumeno
