#include "app/EventLoopHeartbeat.h"

#include "support/Clock.h"
#include "support/Log.h"

#include <algorithm>

namespace lumeno {

EventLoopHeartbeat::EventLoopHeartbeat(Scheduler& scheduler, const Clock& clock) : scheduler_(scheduler), clock_(clock) {
    dueMs_ = clock_.now().toMSecsSinceEpoch() + qint64(beatSeconds * 1000);
    timer_ = scheduler_.after(beatSeconds, [this] { beat(); });
}

EventLoopHeartbeat::~EventLoopHeartbeat() {
    scheduler_.cancel(timer_);
    Log::app.info(QStringLiteral("Event loop: longest stall %{public}ld ms"), {longestStallMs_});
}

void EventLoopHeartbeat::beat() {
    const qint64 nowMs = clock_.now().toMSecsSinceEpoch();
    const qint64 stallMs = nowMs - dueMs_;
    if (stallMs > noticedStallMs)
        Log::app.info(QStringLiteral("Event loop stalled for %{public}ld ms"), {stallMs});
    longestStallMs_ = std::max(longestStallMs_, stallMs);
    // Due from now: one long stall counts once, not again for every beat it swallowed.
    dueMs_ = nowMs + qint64(beatSeconds * 1000);
    timer_ = scheduler_.after(beatSeconds, [this] { beat(); });
}

} // namespace lumeno
