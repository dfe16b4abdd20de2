#include "e2e/harness/NotifierTray.h"

#include "platform/linux/harness/DesktopTest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QStandardPaths>

namespace lumeno::e2e {

namespace {

constexpr int startMs = 10000;
const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

QDBusInterface watcher() {
    return QDBusInterface(watcherService, QStringLiteral("/StatusNotifierWatcher"), watcherService,
                          QDBusConnection::sessionBus());
}

bool watcherOnBus() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(watcherService);
}

} // namespace

NotifierTray::~NotifierTray() {
    stop();
}

bool NotifierTray::fail(const QString& why) {
    whyNot_ = why;
    stop();
    return false;
}

bool NotifierTray::start() {
    for (const char* program : {"status-notifier-watcher", "gtk-sni-tray-standalone"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            return fail(QStringLiteral("%1 is not installed (scripts/install-deps.sh installs it)").arg(program));
    }
    if (!watcher_.start(QStringLiteral("status-notifier-watcher"), {})
        || !desktop::DesktopTest::waitUntil(watcherOnBus, startMs))
        return fail(QStringLiteral("status-notifier-watcher did not come on the session bus"));
    if (!host_.start(QStringLiteral("gtk-sni-tray-standalone"),
                     {QStringLiteral("--bottom"), QStringLiteral("--end"), QStringLiteral("--size"), QStringLiteral("30"),
                      QStringLiteral("--color"), QStringLiteral("#3c4650")})
        || !desktop::DesktopTest::waitUntil(
            [] { return watcher().property("IsStatusNotifierHostRegistered").toBool(); }, startMs))
        return fail(QStringLiteral("gtk-sni-tray-standalone did not register as a host"));
    return true;
}

void NotifierTray::stop() {
    host_.stop();
    if (!watcher_.isRunning())
        return;
    watcher_.stop();
    desktop::DesktopTest::waitUntil([] { return !watcherOnBus(); }, startMs);
}

QStringList NotifierTray::itemsOf(qint64 pid) {
    QStringList items;
    if (!watcherOnBus())
        return items;
    // Each item is "<bus name>/<path>" or a bare bus name.
    const QStringList registered = watcher().property("RegisteredStatusNotifierItems").toStringList();
    for (const QString& item : registered) {
        const QString name = item.section(u'/', 0, 0);
        const QDBusReply<uint> owner = QDBusConnection::sessionBus().interface()->servicePid(name);
        if (owner.isValid() && qint64(owner.value()) == pid)
            items << item;
    }
    return items;
}

} // namespace lumeno::e2e
