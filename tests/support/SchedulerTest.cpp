#include "support/ManualScheduler.h"

#include <QCoroTask>
#include <gtest/gtest.h>

#include <vector>

namespace lumeno {
namespace {

class ManualSchedulerTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    std::vector<QString> ran;
};

TEST_F(ManualSchedulerTest, RunsDueWorkInTimeOrderThenSchedulingOrder) {
    scheduler.after(2.0, [&] { ran.push_back("late"); });
    scheduler.after(1.0, [&] { ran.push_back("early-a"); });
    scheduler.after(1.0, [&] { ran.push_back("early-b"); });
    scheduler.nextTurn([&] { ran.push_back("now"); });

    scheduler.advance(1.5);
    EXPECT_EQ(ran, (std::vector<QString>{"now", "early-a", "early-b"}));
    scheduler.advance(0.5);
    EXPECT_EQ(ran.back(), "late");
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(ManualSchedulerTest, ClockShowsEachJobsDueTimeWhileItRuns) {
    const QDateTime start = clock.now();
    QDateTime seen;
    scheduler.after(120.0, [&] { seen = clock.now(); });
    scheduler.advance(300.0);
    EXPECT_EQ(start.secsTo(seen), 120);
    EXPECT_EQ(start.secsTo(clock.now()), 300);
}

TEST_F(ManualSchedulerTest, CancelledWorkNeverRuns) {
    const auto id = scheduler.after(1.0, [&] { ran.push_back("cancelled"); });
    scheduler.cancel(id);
    scheduler.cancel(id); // a second cancel is harmless
    scheduler.advance(5.0);
    EXPECT_TRUE(ran.empty());
}

TEST_F(ManualSchedulerTest, RepeatingWorkRunsOncePerIntervalUntilCancelled) {
    int ticks = 0;
    const auto id = scheduler.every(0.75, [&] { ++ticks; });
    scheduler.advance(3.0);
    EXPECT_EQ(ticks, 4);
    scheduler.cancel(id);
    scheduler.advance(3.0);
    EXPECT_EQ(ticks, 4);
}

TEST_F(ManualSchedulerTest, WorkScheduledByWorkRunsWhenItFallsDueInTheSameAdvance) {
    scheduler.after(1.0, [&] {
        ran.push_back("first");
        scheduler.after(1.0, [&] { ran.push_back("second"); });
    });
    scheduler.advance(2.0);
    EXPECT_EQ(ran, (std::vector<QString>{"first", "second"}));
}

QCoro::Task<> sleeper(Scheduler& scheduler, std::vector<QString>& ran) {
    ran.push_back("before");
    co_await scheduler.sleep(10.0);
    ran.push_back("after");
}

TEST_F(ManualSchedulerTest, CoroutineSleepWakesOnlyWhenTimeHasPassed) {
    auto task = sleeper(scheduler, ran);
    EXPECT_EQ(ran, (std::vector<QString>{"before"}));
    scheduler.advance(9.9);
    EXPECT_EQ(ran.size(), 1u);
    scheduler.advance(0.1);
    EXPECT_EQ(ran, (std::vector<QString>{"before", "after"}));
}

QCoro::Task<> cancellableSleeper(Scheduler& scheduler, CancelToken token, std::vector<QString>& ran) {
    co_await scheduler.sleep(10.0, token);
    ran.push_back(token.isCancelled() ? "woken by the cancel" : "slept");
}

// A sleeper whose owner cancels as it goes wakes there and then, and leaves no timer behind it: left asleep
// until the scheduler goes, it would never wake at all.
TEST_F(ManualSchedulerTest, ACancelledSleepWakesAtOnceAndLeavesNoTimer) {
    CancelToken token;
    auto task = cancellableSleeper(scheduler, token, ran);
    EXPECT_EQ(scheduler.pendingCount(), 1);
    token.cancel();
    EXPECT_EQ(ran, std::vector<QString>{"woken by the cancel"});
    EXPECT_EQ(scheduler.pendingCount(), 0);

    CancelToken kept;
    auto uncancelled = cancellableSleeper(scheduler, kept, ran);
    scheduler.advance(10.0);
    kept.cancel(); // after it woke: nothing more
    EXPECT_EQ(ran, (std::vector<QString>{"woken by the cancel", "slept"}));
}

} // namespace
} // namespace lumeno
