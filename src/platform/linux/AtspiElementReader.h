#pragma once

#include "platform/Accessibility.h"
#include "platform/linux/AtspiDesktop.h"

#include <optional>

namespace lumeno {

// Answers the program's attribute questions (AXNames.h) about one AT-SPI object, in the program's terms:
// roles mapped, a field's text with its embedded objects expanded and positions in it in UTF-16 units, the
// window an object sits in, a web page's address.
// Whatever a password field holds is never read.
class AtspiElementReader {
public:
    explicit AtspiElementReader(AtspiDesktop& desktop) : desktop_(desktop) {}

    std::optional<Accessibility::Value> attribute(const AtspiNode& node, qint64 pid, const QString& name);
    std::optional<bool> isSettable(const AtspiNode& node, const QString& name);

private:
    std::optional<QString> role(const AtspiNode& node, const AtspiDesktop::Facts& facts);
    std::optional<QString> value(const AtspiNode& node, const AtspiDesktop::Facts& facts);
    std::optional<AtspiNode> window(const AtspiNode& node);
    // A web document's address.
    std::optional<QString> address(const AtspiNode& document);
    std::optional<QString> nonEmptyName(const AtspiNode& node);

    AtspiDesktop& desktop_;
};

} // namespace lumeno
