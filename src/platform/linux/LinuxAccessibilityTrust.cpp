#include "platform/linux/LinuxAccessibilityTrust.h"

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

// The trust check runs on the main thread every few seconds: a bus that does not answer quickly counts as
// no accessibility bus.
constexpr int checkTimeoutMs = 500;

} // namespace

LinuxAccessibilityTrust::LinuxAccessibilityTrust(QDBusConnection bus) : bus_(std::move(bus)) {}

bool LinuxAccessibilityTrust::isTrusted() const {
    if (!bus_.isConnected())
        return false;
    QDBusMessage get =
        QDBusMessage::createMethodCall(busService, busPath, propertiesInterface, QStringLiteral("Get"));
    get << statusInterface << enabledProperty;
    const QDBusMessage reply = bus_.call(get, QDBus::Block, checkTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

QString LinuxAccessibilityTrust::afterTrustNote() const {
    return QStringLiteral("Restart the apps you want Lumeno to read that were already open, such as your browser: "
                          "they show their text fields only when they start with accessibility on.");
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
                     [whenAnswered = std::move(whenAnswered)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         whenAnswered();
                     });
}

} // namespace lumeno
