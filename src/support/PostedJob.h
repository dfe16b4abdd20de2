#pragma once

#include <QFuture>
#include <QPromise>

#include <memory>
#include <type_traits>

namespace lumeno {

// Hands `job` to `post` (which runs what it is given on another thread) and gives the job's result as a
// future the caller's thread can await. Await it from a named variable: g++ 12 destroys a temporary awaited
// in the same expression twice. A job that never ran leaves the future finished without a result.
template <class Post, class Job>
QFuture<std::invoke_result_t<Job&>> postedJob(Post&& post, Job job) {
    using Result = std::invoke_result_t<Job&>;
    auto promise = std::make_shared<QPromise<Result>>();
    QFuture<Result> future = promise->future();
    promise->start();
    post([promise, job = std::move(job)]() mutable {
        promise->addResult(job());
        promise->finish();
    });
    return future;
}

} // namespace lumeno
