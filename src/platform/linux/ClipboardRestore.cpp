#include "platform/linux/ClipboardRestore.h"

namespace lumeno {

ClipboardRestore::ClipboardRestore(Scheduler& scheduler) : scheduler_(scheduler) {}

ClipboardRestore::~ClipboardRestore() {
    cancelTimer();
}

void ClipboardRestore::draftWritten() {
    cancel();
    phase_ = Phase::awaitingFetch;
}

void ClipboardRestore::fetchedByTarget() {
    if (phase_ != Phase::awaitingFetch)
        return; // only the first fetch counts: reading takes several requests
    cancelTimer();
    phase_ = Phase::settling;
    timer_ = scheduler_.after(settleDelay, [this] {
        timer_.reset();
        finish();
    });
}

void ClipboardRestore::restoreWhenFetched(std::function<void()> restore) {
    if (phase_ == Phase::idle) {
        restore();
        return;
    }
    pending_ = std::move(restore);
    if (phase_ == Phase::awaitingFetch && !timer_)
        timer_ = scheduler_.after(fetchTimeout, [this] {
            timer_.reset();
            finish();
        });
}

void ClipboardRestore::cancel() {
    cancelTimer();
    pending_.reset();
    phase_ = Phase::idle;
}

void ClipboardRestore::finish() {
    phase_ = Phase::idle;
    if (const auto restore = std::exchange(pending_, std::nullopt))
        (*restore)();
}

void ClipboardRestore::cancelTimer() {
    if (timer_)
        scheduler_.cancel(*std::exchange(timer_, std::nullopt));
}

} // namespace lumeno
