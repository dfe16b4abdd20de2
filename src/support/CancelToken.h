#pragma once

#include <memory>

namespace lumeno {

// Shared cancellation flag for a long step: the owner cancels, the task checks after every await.
class CancelToken {
public:
    CancelToken() : state_(std::make_shared<bool>(false)) {}

    void cancel() const { *state_ = true; }
    bool isCancelled() const { return *state_; }

private:
    std::shared_ptr<bool> state_;
};

} // namespace lumeno
