#pragma once

#include <xcb/xcb.h>

#include <array>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::desktop {

// Whether `window` has the keyboard: the X input focus and the window manager's active window.
bool hasFocus(XcbConnection& x, xcb_window_t window);

// Sends the window manager a request about `window` (a client message of `type` to the root window).
void askWindowManager(XcbConnection& x, xcb_window_t window, const char* type, std::array<uint32_t, 3> data);

// Asks the window manager to make `window` the active one as a pager does, which it honours whatever its
// rules against focus stealing: what a click on the window would do.
void activate(XcbConnection& x, xcb_window_t window);

} // namespace lumeno::desktop
