#pragma once

#include "support/Scheduler.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace lumeno {

// A version an update put in place is on trial until it has shown that it runs: a run that lasts a
// minute, or one the user ends by Quit. Until then the version it replaced stays beside it
// (InstallFolder::previous()), and the command (bin/lumeno) falls back to that one should a start of the
// new one crash. Passing the trial removes the replaced version, and with it the way back.
class TrialRun : public QObject {
    Q_OBJECT
public:
    static constexpr double provingSeconds = 60;

    TrialRun(QString directory, Scheduler& scheduler, std::function<void(std::function<void()>)> runOnWorker,
             QObject* parent = nullptr);
    ~TrialRun() override;

    // This run of the new version is the only one left (the copy that started it has quit): the minute
    // starts.
    void begin();
    // The user quits: a run on trial has passed.
    void userQuit();
    // Removes, on the worker, what an update left beside the folder: for a run not on trial, or one that
    // passed.
    void clearLeftovers();

private:
    void pass();

    QString directory_;
    Scheduler& scheduler_;
    std::function<void(std::function<void()>)> runOnWorker_;
    std::optional<Scheduler::TimerId> timer_;
};

} // namespace lumeno
