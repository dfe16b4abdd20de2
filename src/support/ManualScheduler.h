#pragma once

#include "support/Clock.h"
#include "support/Scheduler.h"

#include <map>
#include <utility>

namespace lumeno {

// A scheduler for tests: nothing runs until the test advances time. Work runs in time order (ties in the
// order it was scheduled), with the clock set to each job's due time while it runs.
class ManualScheduler final : public Scheduler {
public:
    explicit ManualScheduler(ManualClock& clock) : clock_(clock) {}
    ~ManualScheduler() override;

    TimerId after(double seconds, std::function<void()> work) override;
    TimerId every(double seconds, std::function<void()> work) override;
    void cancel(TimerId id) override;

    // Moves time forward by `seconds`, running everything that falls due on the way.
    void advance(double seconds);
    // Runs what is due now (next-turn work included) without moving time.
    void runDue() { advance(0); }
    int pendingCount() const { return int(jobs_.size()); }

private:
    struct Job {
        qint64 dueMs;
        qint64 intervalMs; // 0 = once
        std::function<void()> work;
    };
    TimerId schedule(double seconds, bool repeating, std::function<void()> work);

    ManualClock& clock_;
    qint64 elapsedMs_ = 0;
    TimerId nextId_ = 1;
    std::map<TimerId, Job> jobs_;
};

} // namespace lumeno
