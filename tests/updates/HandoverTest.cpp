// The hand-over between the copy that installed an update and the new program it started, with real
// processes standing in for the new program and the real local socket between the two sides.
#include "updates/Handover.h"
#include "updates/UpdateFixture.h"

#include <csignal>

namespace lumeno::testing {
namespace {

class HandoverTest : public ::testing::Test {
protected:
    // A program started as the update starts the new one (detached); its pid.
    qint64 start(const QString& script) {
        qint64 pid = 0;
        EXPECT_TRUE(QProcess::startDetached("/bin/sh", {"-c", script}, {}, &pid));
        started.push_back(pid);
        return pid;
    }
    ~HandoverTest() override {
        for (const qint64 pid : started)
            ::kill(pid_t(pid), SIGKILL);
    }

    QTemporaryDir runtime;
    QString socket = runtime.filePath("lumeno.handover");
    std::vector<qint64> started;
};

TEST_F(HandoverTest, TheNewProgramsWordIsHeardAndOnlyTheOldOnesGoingLetsItGoOn) {
    // A socket file some earlier update left is replaced.
    QFile leftOver(socket);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();
    auto watch = std::make_unique<SuccessorWatch>(socket);
    ASSERT_FALSE(watch->listen());
    EXPECT_EQ(QFileInfo(socket).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions())
        << "only this user's programs may say they took over";
    watch->watch(start("exec tail -f /dev/null"));
    QSignalSpy tookOver(watch.get(), &SuccessorWatch::tookOver);
    QSignalSpy ended(watch.get(), &SuccessorWatch::ended);

    TakeoverNotice notice(socket);
    QSignalSpy finished(&notice, &TakeoverNotice::finished);
    notice.send();
    ASSERT_TRUE(tookOver.wait(10000));
    EXPECT_EQ(finished.count(), 0) << "the old copy may still put the replaced version back";
    watch.reset(); // the old copy quits
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_EQ(ended.count(), 0);
}

TEST_F(HandoverTest, ANewProgramThatEndsIsSeenToEndAtOnce) {
    SuccessorWatch watch(socket);
    ASSERT_FALSE(watch.listen());
    QSignalSpy ended(&watch, &SuccessorWatch::ended);
    watch.watch(start("exit 127"));
    ASSERT_TRUE(ended.count() == 1 || ended.wait(10000));
    // Nothing listens any more: a late program is let go on at once, as after a copy that predates the
    // hand-over (it keeps the lock until it has quit).
    TakeoverNotice late(socket);
    QSignalSpy finished(&late, &TakeoverNotice::finished);
    late.send();
    EXPECT_TRUE(finished.count() == 1 || finished.wait(10000));
}

TEST_F(HandoverTest, AProgramGoneBeforeItIsWatchedOrNeverStartedHasEnded) {
    QProcess gone;
    gone.start("/bin/true");
    ASSERT_TRUE(gone.waitForFinished(10000)); // and its process is gone for good
    SuccessorWatch watch(socket);
    ASSERT_FALSE(watch.listen());
    QSignalSpy ended(&watch, &SuccessorWatch::ended);
    watch.watch(gone.processId() > 0 ? gone.processId() : 0x3fffffff);
    EXPECT_TRUE(ended.wait(10000));

    SuccessorWatch nothingStarted(socket);
    ASSERT_FALSE(nothingStarted.listen());
    QSignalSpy endedToo(&nothingStarted, &SuccessorWatch::ended);
    nothingStarted.end();
    EXPECT_EQ(endedToo.count(), 1);
}

TEST_F(HandoverTest, AProgramGivenUpIsEndedAndItsWordNoLongerCounts) {
    SuccessorWatch watch(socket);
    ASSERT_FALSE(watch.listen());
    const qint64 pid = start("exec tail -f /dev/null");
    watch.watch(pid);
    QSignalSpy tookOver(&watch, &SuccessorWatch::tookOver);
    QSignalSpy ended(&watch, &SuccessorWatch::ended);
    watch.end();
    TakeoverNotice tooLate(socket);
    tooLate.send();
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_FALSE(runs(pid)) << "gone before anything is put back";
    EXPECT_EQ(tookOver.count(), 0);
    EXPECT_EQ(ended.count(), 1);
}

} // namespace
} // namespace lumeno::testing
