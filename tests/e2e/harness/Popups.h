#pragma once

#include <QtGlobal>

#include <vector>

#include <xcb/xcb.h>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::e2e {

// Pop-ups of process `pid` on screen now (menus, the overlay): unmanaged, mapped top-level windows.
std::vector<xcb_window_t> popupsOf(XcbConnection& x, qint64 pid);

} // namespace lumeno::e2e
