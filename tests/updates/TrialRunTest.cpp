#include "updates/InstallFolder.h"
#include "updates/TrialRun.h"
#include "updates/UpdateFixture.h"

namespace lumeno::testing {
namespace {

// The replaced version goes once the new one, on trial, has run a minute or been quit, and not before.
TEST_F(UpdateFixture, ATrialPassesAfterAMinuteOrAtQuitOnceBegun) {
    const QString previous = InstallFolder(installed).previous();
    for (const bool quits : {false, true}) {
        writeProgram(previous, "0.9.0", key);
        TrialRun trial{installed, scheduler, [](std::function<void()> job) { job(); }};
        trial.userQuit();
        scheduler.advance(TrialRun::provingSeconds * 2);
        trial.begin();
        scheduler.advance(TrialRun::provingSeconds - 1);
        EXPECT_TRUE(QFileInfo(previous).isDir()) << "kept until the trial has passed";
        if (quits)
            trial.userQuit();
        else
            scheduler.advance(1);
        EXPECT_FALSE(QFileInfo(previous).isDir());
        EXPECT_TRUE(QFileInfo(installed).isDir());
        EXPECT_EQ(scheduler.pendingCount(), 0);
    }
}

} // namespace
} // namespace lumeno::testing
