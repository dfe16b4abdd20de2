#pragma once

#include "platform/TrayWatch.h"
#include "platform/linux/StatusNotifierHostWatch.h"
#include "platform/linux/X11SelectionOwnerWatch.h"

#include <memory>
#include <optional>

namespace lumeno {

class XcbConnection;

// A tray of either kind: an XEmbed tray manager owning the screen's _NET_SYSTEM_TRAY_S<n> selection, or a
// status-notifier host on the session bus.
class LinuxTrayWatch final : public TrayWatch {
public:
    // Without an X server only the session bus is watched.
    LinuxTrayWatch(const std::shared_ptr<XcbConnection>& x, QDBusConnection bus);

    std::optional<bool> isAvailable() const override { return available_; }
    bool hasTrayManager() const override { return trayManager_ && trayManager_->isOwned(); }
    bool hasNotifierHost() const override { return notifierHost_.isAvailable().value_or(false); }

private:
    std::optional<bool> seen() const;
    void update();

    std::optional<X11SelectionOwnerWatch> trayManager_;
    StatusNotifierHostWatch notifierHost_;
    std::optional<bool> available_;
};

} // namespace lumeno
