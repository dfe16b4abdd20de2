#pragma once

#include "support/Scheduler.h"

#include <QtGlobal>

namespace lumeno {

class Clock;

// Measures how long the event loop keeps the user waiting: a beat is due every 10 ms, and how late each
// one comes is how long the loop was busy elsewhere (the program looks frozen for that long). Switched on
// by LUMENO_HEARTBEAT for measurements; every wait over 50 ms is logged as it happens, the longest when
// the heartbeat stops.
class EventLoopHeartbeat {
public:
    static constexpr double beatSeconds = 0.01;
    static constexpr qint64 noticedStallMs = 50;

    EventLoopHeartbeat(Scheduler& scheduler, const Clock& clock);
    ~EventLoopHeartbeat();
    EventLoopHeartbeat(const EventLoopHeartbeat&) = delete;
    EventLoopHeartbeat& operator=(const EventLoopHeartbeat&) = delete;

    qint64 longestStallMs() const { return longestStallMs_; }

private:
    void beat();

    Scheduler& scheduler_;
    const Clock& clock_;
    qint64 dueMs_ = 0;
    qint64 longestStallMs_ = 0;
    Scheduler::TimerId timer_ = 0;
};

} // namespace lumeno
