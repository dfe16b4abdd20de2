#pragma once

#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeScenes.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/ManualScheduler.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace lumeno::testing {

// A fake desktop on manual time: slow elements move the clock, sleeps wait for the scheduler.
class ScreenTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeWorkspace workspace;
    FakeDesktop desktop{workspace, &clock};

    // Runs a task to its end: lets worker-thread reads finish and deliver, and moves manual time on only
    // while something sleeps. A task that never ends fails the test instead of hanging it.
    template <typename T>
    T runToEnd(QCoro::Task<T> task) {
        constexpr int maximumSteps = 2000;
        for (int step = 0; !task.isReady() && step < maximumSteps; ++step) {
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
            if (!task.isReady() && scheduler.pendingCount() > 0)
                scheduler.advance(0.05);
        }
        if (!task.isReady()) {
            ADD_FAILURE() << "the task never finished";
            return T();
        }
        return QCoro::waitFor(task);
    }
};

} // namespace lumeno::testing
