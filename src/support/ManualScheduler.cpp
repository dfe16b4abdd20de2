#include "support/ManualScheduler.h"

#include <algorithm>
#include <utility>

namespace lumeno {

namespace {
qint64 toMs(double seconds) { return std::max<qint64>(0, qRound64(seconds * 1000.0)); }
} // namespace

ManualScheduler::~ManualScheduler() {
    endLifetime();
    std::exchange(jobs_, {}); // dropped once no job can reach them any more
}

Scheduler::TimerId ManualScheduler::after(double seconds, std::function<void()> work) {
    return schedule(seconds, false, std::move(work));
}

Scheduler::TimerId ManualScheduler::every(double seconds, std::function<void()> work) {
    return schedule(seconds, true, std::move(work));
}

void ManualScheduler::cancel(TimerId id) { jobs_.erase(id); }

Scheduler::TimerId ManualScheduler::schedule(double seconds, bool repeating, std::function<void()> work) {
    const TimerId id = nextId_++;
    const qint64 delay = toMs(seconds);
    // A repeating job of interval 0 would never let time move on.
    jobs_.emplace(id, Job{elapsedMs_ + delay, repeating ? std::max<qint64>(1, delay) : 0, std::move(work)});
    return id;
}

void ManualScheduler::advance(double seconds) {
    const qint64 target = elapsedMs_ + toMs(seconds);
    for (;;) {
        // Earliest due job; ids grow with scheduling order, so the first of equal times is the oldest.
        auto next = jobs_.end();
        for (auto it = jobs_.begin(); it != jobs_.end(); ++it)
            if (it->second.dueMs <= target && (next == jobs_.end() || it->second.dueMs < next->second.dueMs))
                next = it;
        if (next == jobs_.end())
            break;
        clock_.advance(double(next->second.dueMs - elapsedMs_) / 1000.0);
        elapsedMs_ = next->second.dueMs;
        std::function<void()> work = next->second.work;
        if (next->second.intervalMs > 0)
            next->second.dueMs += next->second.intervalMs;
        else
            jobs_.erase(next);
        work();
    }
    clock_.advance(double(target - elapsedMs_) / 1000.0);
    elapsedMs_ = target;
}

} // namespace lumeno
