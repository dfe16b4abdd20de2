#include "ui/FrameTicker.h"

namespace lumeno {

void FrameTicker::start(std::function<bool(double elapsed)> frame) {
    stop();
    frame_ = std::move(frame);
    started_ = clock_.clock.now();
    timer_ = clock_.scheduler.every(frameInterval, [this] {
        const double elapsed = started_.msecsTo(clock_.clock.now()) / 1000.0;
        if (!frame_(elapsed))
            stop();
    });
}

void FrameTicker::stop() {
    if (timer_)
        clock_.scheduler.cancel(*timer_);
    timer_.reset();
}

} // namespace lumeno
