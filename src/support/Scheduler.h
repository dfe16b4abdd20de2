#pragma once

#include "support/CancelToken.h"

#include <QtGlobal>

#include <coroutine>
#include <functional>
#include <memory>
#include <utility>

namespace lumeno {

// Deferred and repeating work. Logic asks a Scheduler instead of using QTimer directly, so tests can run a
// two-minute timeout by advancing a manual scheduler.
class Scheduler {
public:
    using TimerId = quint64;

    virtual ~Scheduler() = default;

    // Runs `work` once, `seconds` from now (0 = on the next turn of the event loop).
    virtual TimerId after(double seconds, std::function<void()> work) = 0;
    // Runs `work` every `seconds` until cancelled.
    virtual TimerId every(double seconds, std::function<void()> work) = 0;
    // Cancelling an unknown or finished timer does nothing.
    virtual void cancel(TimerId id) = 0;

    TimerId nextTurn(std::function<void()> work) { return after(0, std::move(work)); }

    // `co_await scheduler.sleep(s)` suspends the coroutine for `s` seconds. The caller checks its
    // CancelToken afterwards: a cancelled sleeper still wakes, then ends without doing anything.
    struct SleepAwaiter {
        Scheduler& scheduler;
        double seconds;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> handle) {
            scheduler.after(seconds, [handle] { handle.resume(); });
        }
        void await_resume() const noexcept {}
    };
    SleepAwaiter sleep(double seconds) { return SleepAwaiter{*this, seconds}; }

    // `co_await scheduler.sleep(s, token)` also wakes the moment `token` is cancelled, its timer gone: an
    // owner that cancels as it goes leaves no coroutine asleep behind it.
    struct CancellableSleepAwaiter {
        Scheduler& scheduler;
        double seconds;
        CancelToken token;
        bool await_ready() const noexcept { return token.isCancelled(); }
        void await_suspend(std::coroutine_handle<> handle) {
            auto asleep = std::make_shared<std::coroutine_handle<>>(handle); // emptied by whichever wakes it
            const TimerId timer = scheduler.after(seconds, [asleep] { std::exchange(*asleep, nullptr).resume(); });
            token.onCancel([asleep, timer, &scheduler = scheduler, lifetime = scheduler.lifetime()] {
                if (!*asleep)
                    return;
                if (!lifetime.expired())
                    scheduler.cancel(timer);
                std::exchange(*asleep, nullptr).resume();
            });
        }
        void await_resume() const noexcept {}
    };
    CancellableSleepAwaiter sleep(double seconds, CancelToken token) {
        return CancellableSleepAwaiter{*this, seconds, std::move(token)};
    }

    // Expires when the scheduler goes. A coroutine that resumes on something else (an answer from the
    // network) may outlive the scheduler it set a timer with, and must not touch it then.
    std::weak_ptr<const void> lifetime() const { return lifetime_; }

protected:
    // A scheduler that is going says so first, then drops its jobs: a job that ends something when it is
    // dropped unrun (a request's time-out) finds the scheduler gone and leaves it alone.
    void endLifetime() { lifetime_.reset(); }

private:
    std::shared_ptr<const void> lifetime_ = std::make_shared<char>();
};

} // namespace lumeno
