#pragma once

#include "platform/AudioInput.h"

namespace lumeno {

// Stands in until the desktop's audio side exists: there is no microphone to record from.
class UnavailableAudioInput final : public AudioInput {
public:
    bool start(std::function<void(const AudioBuffer&)>, std::function<void()>) override { return false; }
    void stop() override {}
};

} // namespace lumeno
