#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace lumeno {

// Thrown by an awaited step that ended because it was cancelled; callers end quietly, showing nothing.
struct Cancelled {};

// Shared cancellation flag for a long step: the owner cancels, the task checks after every await. A step
// that waits on something outside (a network request) also asks to be told, so it can end that at once.
class CancelToken {
public:
    CancelToken() : state_(std::make_shared<State>()) {}

    void cancel() const;
    bool isCancelled() const { return state_->cancelled; }
    // For steps that report cancellation by throwing: throws Cancelled once cancelled.
    void throwIfCancelled() const;
    // Calls `handler` when the token is cancelled, at once when it already is.
    void onCancel(std::function<void()> handler) const;

private:
    struct State {
        bool cancelled = false;
        std::vector<std::function<void()>> handlers;
    };
    std::shared_ptr<State> state_;
};

inline void CancelToken::cancel() const {
    if (std::exchange(state_->cancelled, true))
        return;
    for (const std::function<void()>& handler : std::exchange(state_->handlers, {}))
        handler();
}

inline void CancelToken::onCancel(std::function<void()> handler) const {
    if (state_->cancelled)
        handler();
    else
        state_->handlers.push_back(std::move(handler));
}

inline void CancelToken::throwIfCancelled() const {
    if (isCancelled())
        throw Cancelled{};
}

} // namespace lumeno
