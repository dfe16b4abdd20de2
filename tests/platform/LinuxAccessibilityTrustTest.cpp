#include "platform/linux/LinuxAccessibilityTrust.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace lumeno {
namespace {

// A private bus with the desktop's real accessibility bus launcher on it, so the trust check talks to the
// same service it meets on a user's desktop. The bus starts no service by itself (a session bus would
// start the launcher on the first call, against the user's real desktop settings), and the launcher keeps
// its settings in memory: nothing of the user's is touched.
class AccessibilityBus {
public:
    AccessibilityBus() {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        launcher = QStandardPaths::findExecutable(
            "at-spi-bus-launcher", {"/usr/libexec", "/usr/lib/at-spi2-core", "/usr/libexec/at-spi2"});
        if (daemon.isEmpty() || launcher.isEmpty() || !writeConfiguration())
            return;
        busDaemon.start(daemon,
                        {"--config-file=" + folder.filePath("bus.conf"), "--nofork", "--print-address=1"});
        if (!busDaemon.waitForStarted() || !busDaemon.waitForReadyRead(5000))
            return;
        address = QString::fromUtf8(busDaemon.readLine().trimmed());
    }
    ~AccessibilityBus() {
        stop(spiLauncher);
        QDBusConnection::disconnectFromBus(name);
        stop(busDaemon);
    }

    bool isAvailable() const { return !address.isEmpty(); }
    qint64 launcherPid() const { return spiLauncher.processId(); }
    QDBusConnection connection() const { return QDBusConnection::connectToBus(address, name); }

    // Starts the launcher and waits until it owns its name on the bus.
    bool startLauncher() {
        QDBusServiceWatcher watcher("org.a11y.Bus", connection(), QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        environment.insert("GSETTINGS_BACKEND", "memory");
        environment.insert("HOME", folder.path());
        environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", folder.path());
        environment.remove("DISPLAY");
        spiLauncher.setProcessEnvironment(environment);
        spiLauncher.start(launcher, {});
        return spiLauncher.waitForStarted() &&
               (connection().interface()->isServiceRegistered("org.a11y.Bus") || registered.wait(5000));
    }

private:
    bool writeConfiguration() {
        QFile config(folder.filePath("bus.conf"));
        if (!folder.isValid() || !config.open(QIODevice::WriteOnly))
            return false;
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig>\n"
                     "  <type>session</type>\n"
                     "  <listen>unix:dir=" +
                     QFile::encodeName(folder.path()) +
                     "</listen>\n"
                     "  <auth>EXTERNAL</auth>\n"
                     "  <policy context=\"default\">\n"
                     "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                     "    <allow eavesdrop=\"true\"/>\n"
                     "    <allow own=\"*\"/>\n"
                     "  </policy>\n"
                     "</busconfig>\n");
        return true;
    }

    static void stop(QProcess& process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished();
    }

    const QString name = QStringLiteral("lumeno-accessibility-test");
    QTemporaryDir folder;
    QString launcher;
    QString address;
    QProcess busDaemon;
    QProcess spiLauncher;
};

TEST(LinuxAccessibilityTrustTest, TrustIsTheAccessibilityBusSwitchAndARequestTurnsItOn) {
    AccessibilityBus bus;
    if (!bus.isAvailable())
        GTEST_SKIP() << "dbus-daemon or at-spi-bus-launcher is not installed";
    ASSERT_TRUE(bus.startLauncher());
    LinuxAccessibilityTrust trust(bus.connection());
    EXPECT_FALSE(trust.isTrusted());

    bool answered = false;
    trust.requestTrust([&] { answered = true; });
    EXPECT_FALSE(answered) << "the answer comes back over the bus, not from inside the request";
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
    EXPECT_TRUE(trust.isTrusted());
}

TEST(LinuxAccessibilityTrustTest, ACheckNeverWaitsForTheBusAndTheLastAnswerStandsMeanwhile) {
    AccessibilityBus bus;
    if (!bus.isAvailable())
        GTEST_SKIP() << "dbus-daemon or at-spi-bus-launcher is not installed";
    ASSERT_TRUE(bus.startLauncher());
    LinuxAccessibilityTrust trust(bus.connection());
    bool answered = false;
    trust.requestTrust([&] { answered = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));

    // The launcher stops answering (a frozen desktop service): the check returns to the event loop at once.
    ASSERT_EQ(::kill(pid_t(bus.launcherPid()), SIGSTOP), 0);
    auto check = trust.checkTrust();
    EXPECT_FALSE(check.isReady());
    EXPECT_TRUE(trust.isTrusted());
    ASSERT_EQ(::kill(pid_t(bus.launcherPid()), SIGCONT), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return check.isReady(); }, 5000));
    EXPECT_TRUE(trust.isTrusted());
}

TEST(LinuxAccessibilityTrustTest, ABusWithoutTheAccessibilityServiceIsNotTrustedAndStillAnswers) {
    AccessibilityBus bus;
    if (!bus.isAvailable())
        GTEST_SKIP() << "dbus-daemon is not installed";
    LinuxAccessibilityTrust trust(bus.connection());
    EXPECT_FALSE(trust.isTrusted());
    bool answered = false;
    trust.requestTrust([&] { answered = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
    EXPECT_FALSE(trust.isTrusted());
}

TEST(LinuxAccessibilityTrustTest, NoSessionBusIsNotTrustedAndAnswersAtOnce) {
    LinuxAccessibilityTrust trust(
        QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "lumeno-no-bus"));
    EXPECT_FALSE(trust.isTrusted());
    bool answered = false;
    trust.requestTrust([&] { answered = true; });
    EXPECT_TRUE(answered);
    QDBusConnection::disconnectFromBus("lumeno-no-bus");
}

} // namespace
} // namespace lumeno
