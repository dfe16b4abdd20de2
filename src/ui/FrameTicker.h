#pragma once

#include "support/Clock.h"
#include "support/Scheduler.h"

#include <QDateTime>

#include <functional>
#include <optional>

namespace lumeno {

// Where animation frames come from: the program's scheduler and clock, so a test steps an animation by
// advancing manual time instead of waiting for it.
struct AnimationClock {
    Scheduler& scheduler;
    const Clock& clock;
};

// Calls a frame function about 60 times a second with the seconds since start() until it returns false or
// stop() is called. Stops by itself when destroyed.
class FrameTicker {
public:
    explicit FrameTicker(AnimationClock clock) : clock_(clock) {}
    ~FrameTicker() { stop(); }
    FrameTicker(const FrameTicker&) = delete;
    FrameTicker& operator=(const FrameTicker&) = delete;

    // Replaces a running animation.
    void start(std::function<bool(double elapsed)> frame);
    void stop();
    bool isRunning() const { return timer_.has_value(); }

    static constexpr double frameInterval = 1.0 / 60.0;

private:
    AnimationClock clock_;
    std::optional<Scheduler::TimerId> timer_;
    QDateTime started_;
    std::function<bool(double)> frame_;
};

} // namespace lumeno
