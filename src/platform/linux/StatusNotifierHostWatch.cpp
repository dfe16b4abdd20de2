#include "platform/linux/StatusNotifierHostWatch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <utility>

namespace lumeno {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace

StatusNotifierHostWatch::StatusNotifierHostWatch(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)),
      watcher_(new QDBusServiceWatcher(watcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this)) {
    if (!bus_.isConnected()) {
        available_ = false;
        return;
    }
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, &StatusNotifierHostWatch::renew);
    // Hosts register and leave while the watcher runs.
    bus_.connect(watcherService, watcherPath, watcherService, QStringLiteral("StatusNotifierHostRegistered"), this,
                 SLOT(renew()));
    bus_.connect(watcherService, watcherPath, watcherService, QStringLiteral("StatusNotifierHostUnregistered"), this,
                 SLOT(readHostRegistered()));
    readHostRegistered();
}

void StatusNotifierHostWatch::renew() {
    renewed_ = true;
    readHostRegistered();
}

void StatusNotifierHostWatch::readHostRegistered() {
    const quint64 read = ++reads_;
    QDBusMessage get = QDBusMessage::createMethodCall(watcherService, watcherPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, read](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (read != reads_)
            return;
        // No watcher on the bus answers with an error: no host either.
        const QDBusPendingReply<QDBusVariant> reply = *call;
        setAvailable(!reply.isError() && reply.value().variant().toBool());
    });
}

void StatusNotifierHostWatch::setAvailable(bool available) {
    const bool renewed = std::exchange(renewed_, false) && available;
    if (std::exchange(available_, available) != available || renewed)
        emit changed();
}

} // namespace lumeno
