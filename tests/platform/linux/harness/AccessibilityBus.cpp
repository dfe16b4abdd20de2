#include "platform/linux/harness/AccessibilityBus.h"

#include "platform/linux/harness/DesktopTest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <QStandardPaths>

#include <poll.h>
#include <unistd.h>

namespace lumeno::desktop {

namespace {

constexpr int startMs = 10000;
const QString launcherPath = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
const QString connectionName = QStringLiteral("lumeno-test-session");

// Reads the line dbus-daemon prints once it listens: its address.
QString readLine(int descriptor) {
    QByteArray line;
    pollfd readable{descriptor, POLLIN, 0};
    while (!line.endsWith('\n') && poll(&readable, 1, startMs) > 0) {
        char chunk[256];
        const ssize_t length = read(descriptor, chunk, sizeof chunk);
        if (length <= 0)
            break;
        line.append(chunk, length);
    }
    return QString::fromUtf8(line.trimmed());
}

QDBusMessage busCall(const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                          method == QLatin1String("GetAddress")
                                                              ? QStringLiteral("org.a11y.Bus")
                                                              : QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          method);
    message.setArguments(arguments);
    return QDBusConnection(connectionName).call(message, QDBus::Block, 1000);
}

} // namespace

AccessibilityBus& AccessibilityBus::instance() {
    static AccessibilityBus bus;
    return bus;
}

AccessibilityBus::AccessibilityBus() {
    if (!start()) {
        launcher_.stop();
        sessionBus_.stop();
        accessibilityAddress_.clear();
    }
}

AccessibilityBus::~AccessibilityBus() {
    QDBusConnection::disconnectFromBus(connectionName);
    launcher_.stop();
    sessionBus_.stop();
}

bool AccessibilityBus::start() {
    if (!runtime_.isValid()) {
        whyNot_ = QStringLiteral("no temporary folder for the session");
        return false;
    }
    // The launcher keeps its socket in the runtime folder: one of our own, so no real session is touched.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    return startSessionBus() && startLauncher();
}

bool AccessibilityBus::startSessionBus() {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        whyNot_ = QStringLiteral("dbus-daemon is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    const bool started = sessionBus_.start(
        QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=%1").arg(pipeEnds[1])},
        pipeEnds[1]);
    close(pipeEnds[1]);
    sessionAddress_ = started ? readLine(pipeEnds[0]) : QString();
    close(pipeEnds[0]);
    if (sessionAddress_.isEmpty()) {
        whyNot_ = QStringLiteral("the session bus did not start");
        return false;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", sessionAddress_.toUtf8());
    return QDBusConnection::connectToBus(sessionAddress_, connectionName).isConnected();
}

bool AccessibilityBus::startLauncher() {
    if (!QFileInfo(launcherPath).isExecutable()) {
        whyNot_ = QStringLiteral("at-spi2-core is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    if (!launcher_.start(launcherPath, {QStringLiteral("--launch-immediately")})) {
        whyNot_ = QStringLiteral("the accessibility bus launcher did not start");
        return false;
    }
    DesktopTest::waitUntil([this] {
        const QDBusMessage reply = busCall(QStringLiteral("GetAddress"), {});
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            accessibilityAddress_ = reply.arguments().constFirst().toString();
        return !accessibilityAddress_.isEmpty();
    }, startMs);
    if (accessibilityAddress_.isEmpty()) {
        whyNot_ = QStringLiteral("the accessibility bus did not come up");
        return false;
    }
    // Chromium shows itself on the bus only when accessibility is on as it starts.
    setEnabled(true);
    return true;
}

bool AccessibilityBus::isEnabled() const {
    const QDBusMessage reply =
        busCall(QStringLiteral("Get"), {QStringLiteral("org.a11y.Status"), QStringLiteral("IsEnabled")});
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

void AccessibilityBus::setEnabled(bool enabled) {
    busCall(QStringLiteral("Set"), {QStringLiteral("org.a11y.Status"), QStringLiteral("IsEnabled"),
                                    QVariant::fromValue(QDBusVariant(enabled))});
}

} // namespace lumeno::desktop
