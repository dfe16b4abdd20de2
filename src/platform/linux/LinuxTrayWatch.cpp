#include "platform/linux/LinuxTrayWatch.h"

#include "platform/linux/XcbConnection.h"

#include <utility>

namespace lumeno {

LinuxTrayWatch::LinuxTrayWatch(const std::shared_ptr<XcbConnection>& x, QDBusConnection bus)
    : notifierHost_(std::move(bus)) {
    if (x)
        trayManager_.emplace(x, "_NET_SYSTEM_TRAY_S" + QByteArray::number(x->screen()), [this](bool) { update(); });
    connect(&notifierHost_, &StatusNotifierHostWatch::availabilityChanged, this, &LinuxTrayWatch::update);
    available_ = seen();
}

// A tray manager on the screen is enough; without one, the answer waits for the bus.
std::optional<bool> LinuxTrayWatch::seen() const {
    if (hasTrayManager())
        return true;
    return notifierHost_.isAvailable();
}

void LinuxTrayWatch::update() {
    const std::optional<bool> available = seen();
    if (std::exchange(available_, available) != available)
        emit availabilityChanged();
}

} // namespace lumeno
