#pragma once

#include "support/CancelToken.h"

#include <QCoroTask>

#include <coroutine>
#include <memory>
#include <vector>

namespace lumeno {

// One running step of the reply loop (starting a dictation, finishing it, inserting a pending draft): a
// coroutine that can be called off through its token and whose end another step can await. The finish
// step awaits the start step this way, so everything the start read is in place before the draft is built.
class LoopWork : public std::enable_shared_from_this<LoopWork> {
public:
    // Runs `body` (already started: QCoro tasks run eagerly) and marks the work finished when it ends.
    // `body` must catch its own errors and check `token` after every await.
    static std::shared_ptr<LoopWork> run(CancelToken token, QCoro::Task<> body);

    const CancelToken& token() const { return token_; }
    void cancel() const { token_.cancel(); }
    bool isFinished() const { return finished_; }

    // `co_await work->finished()` resumes once the work has ended (at once when it already has).
    struct FinishedAwaiter {
        std::shared_ptr<LoopWork> work;
        bool await_ready() const noexcept { return work->finished_; }
        void await_suspend(std::coroutine_handle<> waiter) { work->waiters_.push_back(waiter); }
        void await_resume() const noexcept {}
    };
    FinishedAwaiter finished() { return FinishedAwaiter{shared_from_this()}; }

    explicit LoopWork(CancelToken token) : token_(std::move(token)) {}

private:
    static QCoro::Task<> drive(std::shared_ptr<LoopWork> work, QCoro::Task<> body);
    void finish();

    CancelToken token_;
    bool finished_ = false;
    std::vector<std::coroutine_handle<>> waiters_;
};

} // namespace lumeno
