#pragma once

#include "platform/Workspace.h"
#include "platform/linux/DesktopEntries.h"

#include <QFuture>

#include <cstdint>
#include <memory>

namespace lumeno {

class XcbConnection;

// The application in front on an X11 desktop: the window manager's active window while a window manager
// runs, else the window with the input focus. Its process comes from the X server, its id from WM_CLASS
// (the executable's name when the window has none), its name from the application's desktop entry.
class X11FrontmostApplication {
public:
    explicit X11FrontmostApplication(std::shared_ptr<XcbConnection> connection);

    std::optional<RunningApplication> read() const;
    // Every application with a window the window manager lists, one entry per process, in its order.
    std::vector<RunningApplication> openApplications() const;

private:
    RunningApplication applicationOf(uint32_t window) const;
    bool windowManagerRuns() const;
    // The window manager's _NET_ACTIVE_WINDOW.
    std::optional<uint32_t> activeWindow() const;
    // The top-level window holding the input focus.
    std::optional<uint32_t> focusWindow() const;

    std::shared_ptr<XcbConnection> x_;
    QFuture<DesktopEntries> entries_;
};

} // namespace lumeno
