#include "updates/TrialRun.h"

#include "support/Log.h"
#include "updates/InstallFolder.h"

namespace lumeno {

TrialRun::TrialRun(QString directory, Scheduler& scheduler, std::function<void(std::function<void()>)> runOnWorker,
                   QObject* parent)
    : QObject(parent), directory_(std::move(directory)), scheduler_(scheduler), runOnWorker_(std::move(runOnWorker)) {}

TrialRun::~TrialRun() {
    if (timer_)
        scheduler_.cancel(*timer_);
}

void TrialRun::begin() {
    if (timer_)
        return;
    timer_ = scheduler_.after(provingSeconds, [this] { pass(); });
}

void TrialRun::userQuit() {
    if (timer_)
        pass();
}

void TrialRun::pass() {
    scheduler_.cancel(*timer_);
    timer_.reset();
    Log::app.info(QStringLiteral("This version has shown that it runs; the one it replaced goes"));
    clearLeftovers();
}

void TrialRun::clearLeftovers() {
    runOnWorker_([directory = directory_] {
        if (!InstallFolder(directory).clearLeftovers())
            Log::app.error(QStringLiteral("Couldn't remove what an update left beside %{public}s"), {directory});
    });
}

} // namespace lumeno
