// The real program started twice by the same user, as a desktop launcher would: the second copy ends at
// once and quietly, the first runs on until the system asks it to end.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

class LaunchTest : public ::testing::Test {
protected:
    QTemporaryDir home;

    // A user of their own, with the program's checks of the test runner off, and no X server or session
    // bus: the real ports find nothing of the machine's desktop to touch.
    QProcessEnvironment userEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("LUMENO_RUNNING_TESTS"));
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.info=true"));
        environment.insert(QStringLiteral("HOME"), home.path());
        for (const char* folder : {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            environment.insert(QString::fromLatin1(folder), home.filePath(QString::fromLatin1(folder)));
        return environment;
    }

    void SetUp() override {
        const QProcessEnvironment environment = userEnvironment();
        for (const char* folder : {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const QString path = environment.value(QString::fromLatin1(folder));
            ASSERT_TRUE(QDir().mkpath(path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    void launch(QProcess& process) const {
        process.setProcessEnvironment(userEnvironment());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(LUMENO_EXECUTABLE), {});
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    // Reads the program's log until `line` shows up; false when the program ends or stays silent first.
    static bool waitForLog(QProcess& process, const QString& line, QByteArray& log) {
        while (!log.contains(line.toUtf8())) {
            if (!process.waitForReadyRead(20000))
                return false;
            log += process.readAll();
        }
        return true;
    }
};

TEST_F(LaunchTest, ASecondCopyEndsQuietlyWhileTheFirstRunsOnUntilTheSystemEndsIt) {
    QProcess first;
    launch(first);
    QByteArray firstLog;
    ASSERT_TRUE(waitForLog(first, QStringLiteral("Lumeno started"), firstLog)) << firstLog.toStdString();

    QProcess second;
    launch(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray secondOutput = second.readAll();
    EXPECT_FALSE(secondOutput.contains("Lumeno started")) << secondOutput.toStdString();

    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate(); // what the session does at log-out
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

} // namespace
} // namespace lumeno
