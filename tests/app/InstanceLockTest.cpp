// One running copy per user, and a second launch bringing the running copy forward over the local socket.
#include "app/InstanceLock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    int reopens = 0;

    // Runs the event loop until the running copy has heard one more request, or a guard gives up.
    bool waitForReopen(InstanceLock& running) {
        QEventLoop loop;
        const int before = reopens;
        running.onReopen = [this, &loop] {
            ++reopens;
            loop.quit();
        };
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(1); });
        if (reopens == before)
            loop.exec();
        return reopens > before;
    }
};

TEST_F(InstanceLockTest, OnlyOneCopyHoldsTheLockUntilItEnds) {
    auto first = std::make_unique<InstanceLock>(runtime.path());
    ASSERT_TRUE(first->acquire());
    InstanceLock second(runtime.path());
    EXPECT_FALSE(second.acquire());
    first.reset(); // the running copy quits
    EXPECT_TRUE(second.acquire());
}

TEST_F(InstanceLockTest, ASecondLaunchBringsTheRunningCopyForwardEachTime) {
    InstanceLock running(runtime.path());
    ASSERT_TRUE(running.acquire());
    for (int launch = 0; launch < 2; ++launch) {
        InstanceLock second(runtime.path());
        ASSERT_FALSE(second.acquire());
        EXPECT_TRUE(second.askRunningCopyToReopen());
        EXPECT_TRUE(waitForReopen(running));
    }
    EXPECT_EQ(reopens, 2);

    // Only this user may talk to the running copy.
    const QFileInfo socket(QDir(runtime.path()).filePath(QStringLiteral("lumeno.socket")));
    ASSERT_TRUE(socket.exists());
    EXPECT_EQ(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
}

TEST_F(InstanceLockTest, AnythingButTheReopenRequestIsIgnored) {
    InstanceLock running(runtime.path());
    ASSERT_TRUE(running.acquire());
    QLocalSocket stranger;
    stranger.connectToServer(QDir(runtime.path()).filePath(QStringLiteral("lumeno.socket")));
    ASSERT_TRUE(stranger.waitForConnected(2000));
    running.onReopen = [this] { ++reopens; };
    QSignalSpy hungUp(&stranger, &QLocalSocket::disconnected);
    stranger.write("open /etc/passwd\n");
    ASSERT_TRUE(hungUp.wait(5000)); // the running copy read enough to know, and hung up
    EXPECT_EQ(reopens, 0);

    InstanceLock second(runtime.path());
    EXPECT_TRUE(second.askRunningCopyToReopen());
    EXPECT_TRUE(waitForReopen(running));
    EXPECT_EQ(reopens, 1);
}

TEST_F(InstanceLockTest, ASocketLeftByACrashedCopyIsReplacedAndNoCopyMeansNoAnswer) {
    InstanceLock nobody(runtime.path());
    EXPECT_FALSE(nobody.askRunningCopyToReopen());

    QFile leftOver(QDir(runtime.path()).filePath(QStringLiteral("lumeno.socket")));
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    InstanceLock running(runtime.path());
    ASSERT_TRUE(running.acquire());
    InstanceLock second(runtime.path());
    EXPECT_TRUE(second.askRunningCopyToReopen());
    EXPECT_TRUE(waitForReopen(running));
}

} // namespace
} // namespace lumeno
