#pragma once

#include "platform/linux/AtspiDesktop.h"
#include "platform/linux/AtspiExpandedText.h"

#include <optional>

namespace lumeno {

// The text an object shows. Web pages and rich editors put each child element in their parent's text as
// U+FFFC, the embedded-object character; those are replaced by the text of the object behind them, found
// through the Hypertext links (the k-th U+FFFC is the k-th link, while the k-th child may be a plain run of
// text). Block elements go on lines of their own, links and runs of text stay in the line. Password fields
// and controls (a "Send" button) are left out, and the expansion stops at its bounds.
class AtspiTextReader {
public:
    struct Limits {
        int characters = 4000; // UTF-16 units gathered from embedded objects
        int objects = 200;     // embedded objects expanded
        int depth = 8;         // objects inside objects
    };

    AtspiTextReader(AtspiDesktop& desktop, Limits limits) : desktop_(desktop), limits_(limits) {}
    explicit AtspiTextReader(AtspiDesktop& desktop) : AtspiTextReader(desktop, Limits{}) {}

    // The object's text with its embedded objects expanded; none when it has no Text interface or the read
    // failed.
    std::optional<QString> read(const AtspiNode& node);
    // The same with the way back into each object's own text.
    std::optional<AtspiExpandedText> readExpanded(const AtspiNode& node);
    // Whether the text holds anything besides embedded objects and spacing: a block of words of its own.
    static bool holdsWords(const QString& text);

private:
    std::optional<AtspiExpandedText> textOf(const AtspiNode& node, const AtspiDesktop::Facts& facts, int depth);
    void expandObject(AtspiExpandedText& into, int source, qsizetype index, int link, int depth);
    std::optional<AtspiExpandedText> embedded(const AtspiNode& object, int depth);

    AtspiDesktop& desktop_;
    Limits limits_;
    int objects_ = 0;
    qsizetype characters_ = 0;
};

} // namespace lumeno
