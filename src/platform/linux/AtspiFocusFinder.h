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
    // How far, and among how many children, a focused field is sought inside a focused object.
    static constexpr int maximumFocusedLevels = 3;
    static constexpr std::size_t maximumFocusedChildren = 64;

    explicit AtspiFocusFinder(AtspiDesktop& desktop) : desktop_(desktop) {}

    std::optional<AtspiNode> focused(qint64 pid);

private:
    std::optional<AtspiNode> lookUp(const QString& bus);
    std::optional<AtspiNode> activeWindow(const QString& bus);
    std::optional<AtspiNode> search(const AtspiNode& window);
    bool isFocused(const AtspiNode& node);
    // A focused object without text stands for the focused field inside it (Qt 5's editable combo box and
    // its line edit) or, failing that, for the field around it (Qt's viewport inside a text edit).
    AtspiNode field(const AtspiNode& node);
    std::optional<AtspiNode> focusedTextChild(const AtspiNode& node);

    AtspiDesktop& desktop_;
};

} // namespace lumeno
