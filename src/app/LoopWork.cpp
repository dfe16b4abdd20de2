#include "app/LoopWork.h"

namespace lumeno {

std::shared_ptr<LoopWork> LoopWork::run(CancelToken token, QCoro::Task<> body) {
    auto work = std::make_shared<LoopWork>(std::move(token));
    drive(work, std::move(body)); // runs on by itself; its end is seen through finished()
    return work;
}

QCoro::Task<> LoopWork::drive(std::shared_ptr<LoopWork> work, QCoro::Task<> body) {
    try {
        co_await std::move(body);
    } catch (...) {
        // The body reports its own failures; one that escapes must still end the work.
    }
    work->finish();
}

void LoopWork::finish() {
    finished_ = true;
    const auto waiters = std::exchange(waiters_, {});
    for (std::coroutine_handle<> waiter : waiters)
        waiter.resume();
}

} // namespace lumeno
