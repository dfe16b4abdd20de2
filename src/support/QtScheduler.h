#pragma once

#include "support/Scheduler.h"

#include <QObject>

#include <unordered_map>

class QTimer;

namespace lumeno {

// The application's scheduler: Qt timers on the thread that owns it (the main thread).
class QtScheduler final : public QObject, public Scheduler {
    Q_OBJECT
public:
    explicit QtScheduler(QObject* parent = nullptr);
    ~QtScheduler() override;

    TimerId after(double seconds, std::function<void()> work) override;
    TimerId every(double seconds, std::function<void()> work) override;
    void cancel(TimerId id) override;

private:
    TimerId start(double seconds, bool repeating, std::function<void()> work);

    TimerId nextId_ = 1;
    std::unordered_map<TimerId, QTimer*> timers_;
};

} // namespace lumeno
