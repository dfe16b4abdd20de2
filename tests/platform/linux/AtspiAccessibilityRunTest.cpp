// Calls handed to the AT-SPI port run on its own thread in one hop, and the caller's thread never waits.
#include "platform/linux/AtspiAccessibility.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

// Runs the event loop until `task` has its result (bounded: a task that never ends fails the test).
template <typename T> std::optional<T> resultOf(QCoro::Task<T>& task) {
    if (!QTest::qWaitFor([&] { return task.isReady(); }, 5000))
        return std::nullopt;
    return QCoro::waitFor(task);
}

TEST(AtspiAccessibilityRun, CallsRunOnThePortsOwnThreadAndNestedCallsGoStraightThrough) {
    // No accessibility bus: every call answers "none", at once, on the port's thread.
    AtspiAccessibility accessibility(QCoreApplication::applicationPid(), QStringLiteral("unix:path=/nonexistent/bus"));
    QThread* const caller = QThread::currentThread();
    auto task = accessibility.run([caller](Accessibility& port) {
        const bool elsewhere = QThread::currentThread() != caller;
        // A call made from the port's thread runs there and then, not queued behind this job.
        const bool answered = !port.focusedElement(1).has_value();
        return QThread::currentThread()->objectName() + (elsewhere && answered ? QStringLiteral(" ok") : QString());
    });
    EXPECT_FALSE(task.isReady()) << "the caller's thread does not wait for the calls";
    EXPECT_EQ(resultOf(task), QStringLiteral("Accessibility ok"));
}

TEST(AtspiAccessibilityRun, CallsStillQueuedWhenThePortGoesAnswerNone) {
    auto accessibility = std::make_unique<AtspiAccessibility>(QCoreApplication::applicationPid(),
                                                             QStringLiteral("unix:path=/nonexistent/bus"));
    auto task = accessibility->run([](Accessibility&) { return 42; });
    accessibility.reset(); // the queue goes with its thread
    const std::optional<int> answer = resultOf(task);
    ASSERT_TRUE(answer) << "the caller hears of it";
    EXPECT_TRUE(*answer == 0 || *answer == 42) << *answer;
}

} // namespace
} // namespace lumeno
