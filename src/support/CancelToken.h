#pragma once

#include <memory>

namespace lumeno {

// Thrown by an awaited step that ended because it was cancelled; callers end quietly, showing nothing.
struct Cancelled {};

// Shared cancellation flag for a long step: the owner cancels, the task checks after every await.
class CancelToken {
public:
    CancelToken() : state_(std::make_shared<bool>(false)) {}

    void cancel() const { *state_ = true; }
    bool isCancelled() const { return *state_; }
    // For steps that report cancellation by throwing: throws Cancelled once cancelled.
    void throwIfCancelled() const;

private:
    std::shared_ptr<bool> state_;
};

inline void CancelToken::throwIfCancelled() const {
    if (isCancelled())
        throw Cancelled{};
}

} // namespace lumeno
