// A new version keeps the one it replaced beside it until it has run a minute, or until the user quits it.
#include "updates/InstallFolder.h"
#include "updates/TrialRun.h"
#include "updates/UpdateFixture.h"

namespace lumeno::testing {
namespace {

class TrialRunTest : public UpdateFixture {
protected:
    TrialRunTest() { writeProgram(folder.previous(), "0.9.0", key); }

    bool replacedIsKept() const { return QFileInfo(folder.previous()).isDir(); }

    InstallFolder folder{installed};
    TrialRun trial{installed, scheduler, [](std::function<void()> job) { job(); }};
};

TEST_F(TrialRunTest, TheReplacedVersionGoesOnlyOnceTheNewOneHasRunAMinute) {
    scheduler.advance(TrialRun::provingSeconds * 2);
    EXPECT_TRUE(replacedIsKept()) << "the minute counts from the start of the trial";
    trial.begin();
    scheduler.advance(TrialRun::provingSeconds - 1);
    EXPECT_TRUE(replacedIsKept());
    scheduler.advance(1);
    EXPECT_FALSE(replacedIsKept());
    EXPECT_TRUE(QFileInfo(installed).isDir());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(TrialRunTest, QuittingPassesTheTrialOnlyOnceItHasBegun) {
    trial.userQuit();
    EXPECT_TRUE(replacedIsKept()) << "the old copy may still put the old version back";
    trial.begin();
    scheduler.advance(TrialRun::provingSeconds / 2);
    trial.userQuit();
    EXPECT_FALSE(replacedIsKept());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

} // namespace
} // namespace lumeno::testing
