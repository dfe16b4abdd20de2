#pragma once

#include <memory>

#include <xcb/xcb.h>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::e2e {

// Whether a window has drawn into itself since it was first watched, as the X server's damage reports on it
// tell. A window maps before it draws, and until it draws the screen shows whatever was beneath it there, so
// only this tells the window itself from what it covers. A window watched late may have drawn already: it
// is asked to draw again, as uncovering it would.
class WindowDrawing {
public:
    explicit WindowDrawing(xcb_window_t window);
    ~WindowDrawing();
    WindowDrawing(const WindowDrawing&) = delete;
    WindowDrawing& operator=(const WindowDrawing&) = delete;

    // False as well when the server cannot report damage.
    bool hasDrawn() const { return drawn_; }

private:
    std::shared_ptr<XcbConnection> x_;
    xcb_window_t window_;
    uint32_t damage_ = XCB_NONE;
    int listener_ = 0;
    bool drawn_ = false;
};

} // namespace lumeno::e2e
