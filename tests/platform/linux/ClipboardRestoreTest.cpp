#include "platform/linux/ClipboardRestore.h"

#include "support/ManualScheduler.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

class ClipboardRestoreTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    ClipboardRestore restore{scheduler};
    int restored = 0;

    void requestRestore() {
        restore.restoreWhenFetched([this] { ++restored; });
    }
};

TEST_F(ClipboardRestoreTest, WithoutAWaitingDraftTheWriteHappensAtOnce) {
    requestRestore();
    EXPECT_EQ(restored, 1);
}

TEST_F(ClipboardRestoreTest, TheUserCopyComesBackAShortWhileAfterTheTargetFetchedTheDraft) {
    restore.draftWritten();
    requestRestore();
    scheduler.advance(1.0);
    EXPECT_EQ(restored, 0) << "nobody fetched the draft yet";

    restore.fetchedByTarget();
    scheduler.advance(ClipboardRestore::settleDelay - 0.01);
    EXPECT_EQ(restored, 0) << "the target is still reading";
    scheduler.advance(0.01);
    EXPECT_EQ(restored, 1);
    EXPECT_FALSE(restore.isHoldingRestore());
    scheduler.advance(5);
    EXPECT_EQ(restored, 1) << "the time-out must not restore a second time";
}

TEST_F(ClipboardRestoreTest, AFetchBeforeTheRestoreRequestStillGetsItsTimeToLand) {
    restore.draftWritten();
    restore.fetchedByTarget();
    scheduler.advance(0.05);
    requestRestore();
    EXPECT_EQ(restored, 0);
    scheduler.advance(ClipboardRestore::settleDelay - 0.05);
    EXPECT_EQ(restored, 1);

    // Once settled, a later write goes straight through.
    requestRestore();
    EXPECT_EQ(restored, 2);
}

TEST_F(ClipboardRestoreTest, ANeverFetchedDraftGivesWayAfterTheTimeOut) {
    restore.draftWritten();
    scheduler.advance(10); // the time-out counts from the restore request, not from the draft
    requestRestore();
    scheduler.advance(ClipboardRestore::fetchTimeout - 0.01);
    EXPECT_EQ(restored, 0);
    scheduler.advance(0.01);
    EXPECT_EQ(restored, 1);
    EXPECT_FALSE(restore.awaitsFetch());
}

TEST_F(ClipboardRestoreTest, SomeoneElsesCopyOrANewDraftDropsTheHeldRestore) {
    restore.draftWritten();
    requestRestore();
    restore.cancel();
    scheduler.advance(10);
    EXPECT_EQ(restored, 0);

    restore.draftWritten();
    requestRestore();
    restore.draftWritten(); // the next draft: the old restore would overwrite it
    scheduler.advance(10);
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(ClipboardRestoreTest, OnlyTheLatestHeldWriteIsMade) {
    restore.draftWritten();
    int first = 0, second = 0;
    restore.restoreWhenFetched([&] { ++first; });
    restore.restoreWhenFetched([&] { ++second; });
    restore.fetchedByTarget();
    restore.fetchedByTarget(); // the target's further requests change nothing
    scheduler.advance(ClipboardRestore::settleDelay);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

} // namespace
} // namespace lumeno
