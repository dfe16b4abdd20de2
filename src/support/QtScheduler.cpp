#include "support/QtScheduler.h"

#include <QTimer>

#include <utility>

namespace lumeno {

QtScheduler::QtScheduler(QObject* parent) : QObject(parent) {}

QtScheduler::~QtScheduler() {
    endLifetime();
    for (const auto& [id, timer] : std::exchange(timers_, {}))
        delete timer; // and the work it held; timers cancelled earlier are children and go with us
}

Scheduler::TimerId QtScheduler::after(double seconds, std::function<void()> work) {
    return start(seconds, false, std::move(work));
}

Scheduler::TimerId QtScheduler::every(double seconds, std::function<void()> work) {
    return start(seconds, true, std::move(work));
}

void QtScheduler::cancel(TimerId id) {
    auto found = timers_.find(id);
    if (found == timers_.end())
        return;
    found->second->stop();
    found->second->deleteLater();
    timers_.erase(found);
}

Scheduler::TimerId QtScheduler::start(double seconds, bool repeating, std::function<void()> work) {
    const TimerId id = nextId_++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(!repeating);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(std::max(0, int(qRound64(seconds * 1000.0))));
    connect(timer, &QTimer::timeout, this, [this, id, repeating, work = std::move(work)] {
        if (!repeating)
            cancel(id); // forget it first: the work may schedule again or destroy us
        work();
    });
    timers_.emplace(id, timer);
    timer->start();
    return id;
}

} // namespace lumeno
