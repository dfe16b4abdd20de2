#pragma once

#include "platform/AudioBuffer.h"

#include <QString>

#include <functional>

namespace lumeno {

// The microphone.
class AudioInput {
public:
    virtual ~AudioInput() = default;

    // Starts recording: buffers arrive on the main thread until stop(); `interrupted` is called once when
    // recording ends by itself (the device went away, the desktop gave it to another program). False when
    // there is no microphone to record from.
    virtual bool start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) = 0;
    // After a start that failed, why, in words for the user when this input knows better than "no
    // microphone"; empty otherwise.
    virtual QString whyNotStarted() const { return {}; }
    // Stops at once; nothing is delivered afterwards. Stopping when not recording does nothing.
    virtual void stop() = 0;
};

} // namespace lumeno
