#pragma once

#include <coroutine>
#include <memory>
#include <utility>
#include <vector>

namespace lumeno {

// Where a fake's coroutine waits for the test: `co_await gate.wait()` goes straight through while the gate
// is open and otherwise suspends until open() is called. Copies share one gate.
class FakeGate {
    struct State {
        bool open = true;
        std::vector<std::coroutine_handle<>> waiters;
    };

public:
    void close() { state_->open = false; }
    void open() {
        state_->open = true;
        for (auto waiter : std::exchange(state_->waiters, {}))
            waiter.resume();
    }
    bool isOpen() const { return state_->open; }
    bool hasWaiters() const { return !state_->waiters.empty(); }

    struct Awaiter {
        std::shared_ptr<State> state;
        bool await_ready() const noexcept { return state->open; }
        void await_suspend(std::coroutine_handle<> handle) { state->waiters.push_back(handle); }
        void await_resume() const noexcept {}
    };
    Awaiter wait() const { return Awaiter{state_}; }

private:
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace lumeno
