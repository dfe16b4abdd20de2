// One running copy per user, and a second launch bringing the running copy forward over the local socket.
#include "app/InstanceLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;
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
    QSignalSpy reopened(&running, &InstanceLock::reopenRequested);
    for (int launch = 0; launch < 2; ++launch) {
        InstanceLock second(runtime.path());
        ASSERT_FALSE(second.acquire());
        EXPECT_TRUE(second.askRunningCopyToReopen());
        EXPECT_TRUE(reopened.wait(5000));
    }
    EXPECT_EQ(reopened.count(), 2);

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
    QSignalSpy reopened(&running, &InstanceLock::reopenRequested);
    QSignalSpy hungUp(&stranger, &QLocalSocket::disconnected);
    stranger.write("open /etc/passwd\n");
    ASSERT_TRUE(hungUp.wait(5000)); // the running copy read enough to know, and hung up
    EXPECT_EQ(reopened.count(), 0);

    InstanceLock second(runtime.path());
    EXPECT_TRUE(second.askRunningCopyToReopen());
    EXPECT_TRUE(reopened.wait(5000));
    EXPECT_EQ(reopened.count(), 1);
}

TEST_F(InstanceLockTest, ASocketLeftByACrashedCopyIsReplacedAndNoCopyMeansNoAnswer) {
    InstanceLock nobody(runtime.path());
    EXPECT_FALSE(nobody.askRunningCopyToReopen());

    QFile leftOver(QDir(runtime.path()).filePath(QStringLiteral("lumeno.socket")));
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    InstanceLock running(runtime.path());
    ASSERT_TRUE(running.acquire());
    QSignalSpy reopened(&running, &InstanceLock::reopenRequested);
    InstanceLock second(runtime.path());
    EXPECT_TRUE(second.askRunningCopyToReopen());
    EXPECT_TRUE(reopened.wait(5000));
}

TEST_F(InstanceLockTest, ACopyThatGivesTheLockUpForAnUpdateLeavesTheNewHolderItsSocketAndCanTakeItBack) {
    auto old = std::make_unique<InstanceLock>(runtime.path());
    ASSERT_TRUE(old->acquire());
    old->release(); // and runs on while the new version starts
    auto updated = std::make_unique<InstanceLock>(runtime.path());
    ASSERT_TRUE(updated->acquire());
    EXPECT_FALSE(old->acquire()) << "the new version holds it";
    old.reset(); // the old copy quits
    QSignalSpy reopened(updated.get(), &InstanceLock::reopenRequested);
    InstanceLock second(runtime.path());
    EXPECT_TRUE(second.askRunningCopyToReopen()) << "the socket is the new holder's";
    EXPECT_TRUE(reopened.wait(5000));

    // A new version that did not take over: the copy that gave the lock up takes it back.
    InstanceLock giver(runtime.path());
    updated.reset();
    ASSERT_TRUE(giver.acquire());
    giver.release();
    EXPECT_TRUE(giver.acquire());
    EXPECT_FALSE(InstanceLock(runtime.path()).acquire());
}

} // namespace
} // namespace lumeno
