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
    // How far, among how many objects, and in lists of how many children a focused field is sought inside a
    // focused object (KWrite's text view sits five levels under its focused container).
    static constexpr int maximumFocusedLevels = 8;
    static constexpr int maximumFocusedObjects = 200;
    static constexpr std::size_t maximumFocusedChildren = 64;

    explicit AtspiFocusFinder(AtspiDesktop& desktop) : desktop_(desktop) {}

    std::optional<AtspiNode> focused(qint64 pid);

private:
    std::optional<AtspiNode> lookUp(const QString& bus);
    std::optional<AtspiNode> activeWindow(const QString& bus);
    std::optional<AtspiNode> search(const AtspiNode& window);
    bool isFocused(const AtspiNode& node);
    // A focused object without text stands for the focused field inside it (Qt 5's editable combo box and
    // its line edit; KWrite's editor, under levels that are not focused) or, failing that, for the field
    // around it (Qt's viewport inside a text edit).
    AtspiNode field(const AtspiNode& node);
    // The nearest focused object with text under `node`, breadth first through what is showing.
    std::optional<AtspiNode> focusedTextInside(const AtspiNode& node);

    AtspiDesktop& desktop_;
};

} // namespace lumeno
