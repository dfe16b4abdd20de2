#pragma once

#include "support/Log.h"
#include "support/PostedJob.h"

#include <QCoroFuture>
#include <QCoroTask>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace lumeno {

// The disk work of one file, done off the main thread so that a slow disk never holds the event loop.
// Work runs one piece at a time in the order asked. A save that has not begun yet is replaced by a newer
// one: only the newest state matters, and it always reaches the disk. A failed save is logged on the
// owner's thread with `failureFormat` ("Couldn't save memory: %{public}s"); what the program holds stays
// as it is, so the next save tries again.
class FileWriter : public QObject {
    Q_OBJECT
public:
    // Blocking file work: none on success, else the reason.
    using Work = std::function<std::optional<QString>()>;

    FileWriter(const Logger& log, QString failureFormat, QObject* parent = nullptr);
    // Waits for the work asked so far: the last state reaches the disk before the program ends.
    ~FileWriter() override;

    void save(Work work);
    // Runs `work` after everything asked before it, and gives its result.
    template <class Result> QCoro::Task<Result> run(std::function<Result()> work);
    // Waits for the work asked so far and logs its failures (for tests, which read the files).
    void finish();

private:
    struct Slot {
        std::mutex mutex;
        std::optional<Work> work; // emptied when the save begins
    };
    void reportFailure(const QString& reason);

    const Logger& log_;
    QString failureFormat_;
    std::shared_ptr<Slot> waitingSave_; // the save not begun yet, when no other work was asked after it
    QThreadPool disk_;
};

template <class Result> QCoro::Task<Result> FileWriter::run(std::function<Result()> work) {
    waitingSave_.reset(); // a save asked from now on goes after this
    QFuture<Result> working = postedJob([this](auto job) { disk_.start(std::move(job)); }, std::move(work));
    const Result result = co_await working;
    co_return result;
}

} // namespace lumeno
