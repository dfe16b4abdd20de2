#pragma once

#include "platform/TrayWatch.h"
#include "platform/linux/StatusNotifierHostWatch.h"
#include "platform/linux/X11SelectionOwnerWatch.h"

#include <memory>
#include <optional>

namespace lumeno {

class XcbConnection;

// The two kinds of tray: an XEmbed tray manager owning the screen's _NET_SYSTEM_TRAY_S<n> selection, watched
// on the X server, and a status-notifier host, watched on the session bus.
class LinuxTrayWatch final : public TrayWatch {
public:
    // Without an X server only the session bus is watched.
    LinuxTrayWatch(std::shared_ptr<XcbConnection> x, QDBusConnection bus);

    std::optional<bool> has(Kind kind) const override;
    bool dock(const QWindow& window) override;

private:
    std::shared_ptr<XcbConnection> x_;
    std::optional<X11SelectionOwnerWatch> trayManager_;
    StatusNotifierHostWatch notifierHost_;
};

} // namespace lumeno
