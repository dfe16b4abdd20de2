#pragma once

#include <QObject>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>

namespace lumeno {

// One thread with its own event loop that runs jobs handed to it from any thread, one at a time and in
// order. The caller blocks until its job is done or its budget is spent; a job whose caller gave up is
// skipped when its turn comes, so a queue of abandoned work never builds up behind a slow one.
class WorkerThread {
public:
    explicit WorkerThread(const QString& name);
    ~WorkerThread(); // finishes the running job, drops the rest, and stops the thread
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Objects that must live on the worker (its D-Bus connection's receivers) are parented to this.
    QObject* context() const { return context_; }
    bool isCurrent() const { return QThread::currentThread() == &thread_; }

    // Runs `job` on the worker and gives its result, or a default-constructed result (none, empty, false)
    // when the budget ran out first. Called on the worker itself, it runs the job at once.
    template <class Job>
    std::invoke_result_t<Job> run(Job job, std::chrono::milliseconds budget);
    // Queues `job` without waiting for it.
    void post(std::function<void()> job);

private:
    template <class Result>
    struct Waiter {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
        bool abandoned = false;
    };

    QThread thread_;
    QObject* context_;
};

template <class Job>
std::invoke_result_t<Job> WorkerThread::run(Job job, std::chrono::milliseconds budget) {
    using Result = std::invoke_result_t<Job>;
    static_assert(std::is_default_constructible_v<Result>, "a job that may be abandoned needs a 'none' result");
    if (isCurrent())
        return job();
    auto waiter = std::make_shared<Waiter<Result>>();
    post([waiter, job = std::move(job)]() mutable {
        {
            std::lock_guard lock(waiter->mutex);
            if (waiter->abandoned)
                return;
        }
        Result result = job();
        std::lock_guard lock(waiter->mutex);
        waiter->result = std::move(result);
        waiter->done.notify_all();
    });
    std::unique_lock lock(waiter->mutex);
    if (!waiter->done.wait_for(lock, budget, [&] { return waiter->result.has_value(); })) {
        waiter->abandoned = true;
        return Result{};
    }
    return std::move(*waiter->result);
}

} // namespace lumeno
