#pragma once

#include <QString>

#include <xcb/xcb.h>

#include <optional>

namespace lumeno {

class XcbConnection;

// What the X server tells about another client's window.
class X11WindowInfo {
public:
    struct WindowClass {
        QString instance; // WM_CLASS's first string, e.g. "mail"
        QString name;     // its second, e.g. "thunderbird"
        bool operator==(const WindowClass&) const = default;
    };

    // A window named by a WINDOW property of `window` (e.g. _NET_ACTIVE_WINDOW on the root); none when unset.
    static std::optional<xcb_window_t> windowProperty(XcbConnection& x, xcb_window_t window, const char* name);
    // _NET_WM_NAME (UTF-8), else WM_NAME (Latin-1); empty when the window has neither.
    static QString title(XcbConnection& x, xcb_window_t window);
    static std::optional<WindowClass> windowClass(XcbConnection& x, xcb_window_t window);
    // The process of the client that made the window, from the X-Resource extension (which knows local
    // clients whatever they claim), else the window's _NET_WM_PID.
    static std::optional<qint64> processId(XcbConnection& x, xcb_window_t window);
    // The top-level window holding `window`: the child of the root on its way up (none for the root).
    static std::optional<xcb_window_t> topLevel(XcbConnection& x, xcb_window_t window);
    static bool exists(XcbConnection& x, xcb_window_t window);
};

} // namespace lumeno
