#include "platform/linux/LinuxTrayWatch.h"

#include "platform/linux/XcbConnection.h"

#include <QGuiApplication>

#include <utility>

namespace lumeno {

namespace {

// The tray manager's request code that asks it to embed a window (system tray protocol).
constexpr uint32_t requestDock = 0;

} // namespace

LinuxTrayWatch::LinuxTrayWatch(std::shared_ptr<XcbConnection> x, QDBusConnection bus)
    : x_(std::move(x)), notifierHost_(std::move(bus)) {
    if (x_)
        trayManager_.emplace(x_, "_NET_SYSTEM_TRAY_S" + QByteArray::number(x_->screen()),
                             [this] { emit changed(Kind::trayManager); });
    connect(&notifierHost_, &StatusNotifierHostWatch::changed, this, [this] { emit changed(Kind::notifierHost); });
}

std::optional<bool> LinuxTrayWatch::has(Kind kind) const {
    if (kind == Kind::notifierHost)
        return notifierHost_.isAvailable();
    return trayManager_ && trayManager_->isOwned();
}

bool LinuxTrayWatch::dock(const QWindow& window) {
    if (!trayManager_ || !trayManager_->isOwned())
        return false;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = trayManager_->owner();
    request.type = x_->atom("_NET_SYSTEM_TRAY_OPCODE");
    request.data.data32[0] = XCB_CURRENT_TIME;
    request.data.data32[1] = requestDock;
    request.data.data32[2] = uint32_t(window.winId());
    // Asked on Qt's own connection, after the requests that made the window: on ours, the tray could hear of
    // the window before the server has it.
    const auto* qt = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = qt ? qt->connection() : x_->get();
    xcb_send_event(connection, false, request.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    return true;
}

} // namespace lumeno
