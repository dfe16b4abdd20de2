#pragma once

#include "platform/linux/AtspiDesktop.h"

#include <optional>

namespace lumeno {

// Finds the object with keyboard focus in one process: the focus its application last reported by event,
// when that still holds, else a cold look through its active window (Collection where the application
// has it, a bounded depth-first search where it does not, as in Qt).
class AtspiFocusFinder {
public:
    // The depth-first search looks at no more objects than this.
    static constexpr int searchLimit = 400;

    explicit AtspiFocusFinder(AtspiDesktop& desktop) : desktop_(desktop) {}

    std::optional<AtspiNode> focused(qint64 pid);

private:
    std::optional<AtspiNode> lookUp(const QString& bus);
    std::optional<AtspiNode> activeWindow(const QString& bus);
    std::optional<AtspiNode> search(const AtspiNode& window);
    bool isFocused(const AtspiNode& node);
    // A focused object without text (Qt's viewport inside a text edit) stands for the field around it.
    AtspiNode field(const AtspiNode& node);

    AtspiDesktop& desktop_;
};

} // namespace lumeno
