#include "ui/FrameTicker.h"
#include "ui/Spinner.h"

#include "support/ManualScheduler.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumeno {
namespace {

class AnimationTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    AnimationClock animation{scheduler, clock};
};

TEST_F(AnimationTest, TickerReportsElapsedTimeUntilTheFrameSaysStop) {
    FrameTicker ticker(animation);
    std::vector<double> seen;
    ticker.start([&](double elapsed) {
        seen.push_back(elapsed);
        return elapsed < 0.05;
    });
    scheduler.advance(1.0);
    ASSERT_FALSE(seen.empty());
    EXPECT_NEAR(seen.front(), FrameTicker::frameInterval, 0.002);
    EXPECT_GE(seen.back(), 0.05);
    EXPECT_LT(seen.back(), 0.05 + 2 * FrameTicker::frameInterval);
    EXPECT_FALSE(ticker.isRunning());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(AnimationTest, RestartingReplacesTheRunningAnimationAndDestructionStopsIt) {
    int first = 0, second = 0;
    {
        FrameTicker ticker(animation);
        ticker.start([&](double) { return ++first, true; });
        scheduler.advance(0.1);
        ticker.start([&](double) { return ++second, true; });
        const int firstSoFar = first;
        scheduler.advance(0.1);
        EXPECT_EQ(first, firstSoFar);
        EXPECT_GT(second, 0);
    }
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(AnimationTest, SpinnerTurnsOnlyWhileShown) {
    Spinner spinner(animation, 16);
    scheduler.advance(0.5);
    EXPECT_EQ(spinner.leadingSpoke(), 0);
    spinner.show();
    scheduler.advance(0.52); // half a turn
    EXPECT_EQ(spinner.leadingSpoke(), 6);
    spinner.hide();
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

} // namespace
} // namespace lumeno
