#include "platform/linux/WorkerThread.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace lumeno {
namespace {

constexpr std::chrono::seconds generous{10};

TEST(WorkerThreadTest, JobsRunInOrderOnTheWorkerAndAJobMayRunAnotherInline) {
    WorkerThread worker(QStringLiteral("test worker"));
    std::vector<int> order;
    QThread* ranOn = nullptr;
    worker.post([&] { order.push_back(1); });
    const int nested = worker.run(
        [&] {
            order.push_back(2);
            ranOn = QThread::currentThread();
            // From the worker itself a job runs at once rather than waiting for itself.
            return worker.run([] { return 7; }, generous);
        },
        generous);
    EXPECT_EQ(nested, 7);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_NE(ranOn, QThread::currentThread());
    EXPECT_TRUE(worker.run([&] { return worker.isCurrent(); }, generous));
}

TEST(WorkerThreadTest, ACallerWhoseBudgetRunsOutGetsNoneAndItsJobIsSkipped) {
    WorkerThread worker(QStringLiteral("test worker"));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    worker.post([released] { released.wait(); }); // a job stuck on a hung application
    bool abandonedRan = false;
    const std::optional<int> answer = worker.run(
        [&]() -> std::optional<int> {
            abandonedRan = true;
            return 1;
        },
        std::chrono::milliseconds(20));
    EXPECT_EQ(answer, std::nullopt);
    release.set_value();
    // Jobs run in order: once a later one has run, the abandoned one had its turn.
    EXPECT_EQ(worker.run([] { return 2; }, generous), 2);
    EXPECT_FALSE(abandonedRan);
}

} // namespace
} // namespace lumeno
