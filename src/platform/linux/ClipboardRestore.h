#pragma once

#include "support/Scheduler.h"

#include <functional>
#include <optional>

namespace lumeno {

// When the user's own copy may go back on the clipboard after a draft was pasted. On X11 a paste is a
// request the target application makes some time after the paste key, and whatever owns the clipboard
// then is what it pastes: putting the user's copy back too early pastes the old text. So the restore
// waits until the application the draft was meant for has fetched it, and a little longer for it to
// finish reading, or gives up waiting after a while.
class ClipboardRestore {
public:
    static constexpr double settleDelay = 0.15;
    static constexpr double fetchTimeout = 2.0;

    explicit ClipboardRestore(Scheduler& scheduler);
    ~ClipboardRestore();
    ClipboardRestore(const ClipboardRestore&) = delete;
    ClipboardRestore& operator=(const ClipboardRestore&) = delete;

    // A draft went on the clipboard; nobody has fetched it yet.
    void draftWritten();
    // The application in front fetched the draft.
    void fetchedByTarget();
    // Runs `restore` once the draft has been fetched and had settleDelay to land, or fetchTimeout from now
    // when it is not fetched; at once when no draft is waiting. A later call replaces an earlier one.
    void restoreWhenFetched(std::function<void()> restore);
    // The clipboard changed otherwise (someone copied, or the program wrote anew): nothing is restored.
    void cancel();

    // Whether a draft waits for its fetch, so fetches are worth telling.
    bool awaitsFetch() const { return phase_ == Phase::awaitingFetch; }
    // Whether a write now would come too early: the draft is not fetched, or still being read.
    bool isWaiting() const { return phase_ != Phase::idle; }
    bool isHoldingRestore() const { return pending_.has_value(); }

private:
    enum class Phase { idle, awaitingFetch, settling };

    void finish();
    void cancelTimer();

    Scheduler& scheduler_;
    Phase phase_ = Phase::idle;
    std::optional<std::function<void()>> pending_;
    std::optional<Scheduler::TimerId> timer_;
};

} // namespace lumeno
