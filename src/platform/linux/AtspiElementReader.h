#pragma once

#include "platform/Accessibility.h"
#include "platform/linux/AtspiDesktop.h"

#include <optional>

namespace lumeno {

// Answers the program's attribute questions (AXNames.h) about one AT-SPI object, in the program's terms:
// roles mapped, text positions in UTF-16 units, the window an object sits in, a web page's address.
// Whatever a password field holds is never read.
class AtspiElementReader {
public:
    explicit AtspiElementReader(AtspiDesktop& desktop) : desktop_(desktop) {}

    std::optional<Accessibility::Value> attribute(const AtspiNode& node, qint64 pid, const QString& name);
    std::optional<bool> isSettable(const AtspiNode& node, const QString& name);

    // A field's selection, or its caret as an empty one, with the text it lies in.
    struct Selection {
        QString text;
        int start = 0;   // in the toolkit's own offsets
        int end = 0;
        TextRange range; // the same in UTF-16 units
    };
    // None when it cannot be read, or cannot be believed.
    std::optional<Selection> selection(const AtspiNode& node);

private:
    std::optional<QString> role(const AtspiNode& node, const AtspiDesktop::Facts& facts);
    std::optional<QString> value(const AtspiNode& node, const AtspiDesktop::Facts& facts);
    std::optional<AtspiNode> window(const AtspiNode& node);
    std::optional<QString> nonEmptyName(const AtspiNode& node);

    AtspiDesktop& desktop_;
};

} // namespace lumeno
