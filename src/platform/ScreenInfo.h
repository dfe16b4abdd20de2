#pragma once

#include <QPoint>
#include <QRect>

#include <optional>
#include <vector>

namespace lumeno {

// The screens of the desktop and where the pointer is, in the desktop's device-independent coordinates
// (origin at the top left of the primary screen, y growing downwards).
class ScreenInfo {
public:
    struct Screen {
        QRect frame;        // the whole screen
        QRect visibleFrame; // without panels, docks and bars the desktop keeps for itself
        bool operator==(const Screen&) const = default;
    };

    virtual ~ScreenInfo() = default;

    // In the desktop's own order, the primary screen first; empty when no screen is attached.
    virtual std::vector<Screen> screens() const = 0;
    // The screen the user is working on when the pointer tells nothing: the primary one. None without screens.
    virtual std::optional<Screen> mainScreen() const = 0;
    virtual QPoint pointer() const = 0;
};

} // namespace lumeno
