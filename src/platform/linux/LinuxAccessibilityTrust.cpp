#include "platform/linux/LinuxAccessibilityTrust.h"

#include "platform/linux/ChromiumEngine.h"

#include <QCoroDBusPendingCall>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace lumeno {

namespace {

const QString busService = QStringLiteral("org.a11y.Bus");
const QString busPath = QStringLiteral("/org/a11y/bus");
const QString statusInterface = QStringLiteral("org.a11y.Status");
const QString enabledProperty = QStringLiteral("IsEnabled");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// A bus that does not answer this quickly counts as no accessibility bus.
constexpr int checkTimeoutMs = 500;

} // namespace

LinuxAccessibilityTrust::LinuxAccessibilityTrust(QDBusConnection bus) : bus_(std::move(bus)) {}

QCoro::Task<bool> LinuxAccessibilityTrust::checkTrust() {
    const std::shared_ptr<bool> trusted = trusted_;
    if (!bus_.isConnected()) {
        *trusted = false;
        co_return false;
    }
    QDBusMessage get =
        QDBusMessage::createMethodCall(busService, busPath, propertiesInterface, QStringLiteral("Get"));
    get << statusInterface << enabledProperty;
    const QDBusPendingCall call = bus_.asyncCall(get, checkTimeoutMs);
    const QDBusMessage reply = co_await call;
    *trusted = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
               reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
    co_return *trusted;
}

bool LinuxAccessibilityTrust::needsRestartToBeRead(qint64 pid) const {
    return runsChromiumEngine(pid);
}

void LinuxAccessibilityTrust::requestTrust(std::function<void()> whenAnswered) {
    if (!bus_.isConnected()) {
        whenAnswered();
        return;
    }
    QDBusMessage set =
        QDBusMessage::createMethodCall(busService, busPath, propertiesInterface, QStringLiteral("Set"));
    set << statusInterface << enabledProperty << QVariant::fromValue(QDBusVariant(true));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(set));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [trusted = trusted_, whenAnswered = std::move(whenAnswered)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         if (!finished->isError())
                             *trusted = true; // the switch is on now
                         whenAnswered();
                     });
}

} // namespace lumeno
