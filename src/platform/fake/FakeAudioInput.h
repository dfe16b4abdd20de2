#pragma once

#include "platform/AudioInput.h"

namespace lumeno {

// A microphone the test speaks into: audio arrives only when the test delivers it, and only while
// recording.
class FakeAudioInput final : public AudioInput {
public:
    bool start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) override;
    void stop() override;

    void setAvailable(bool available) { available_ = available; }
    bool isRecording() const { return recording_; }
    int startCount() const { return starts_; }

    void deliver(const AudioBuffer& buffer);
    // `seconds` of sound whose root mean square is `amplitude`, in buffers of a tenth of a second.
    void hear(double seconds, float amplitude, double sampleRate = 16000);
    // The device goes away: recording ends by itself.
    void interrupt();

private:
    bool available_ = true;
    bool recording_ = false;
    int starts_ = 0;
    std::function<void(const AudioBuffer&)> buffer_;
    std::function<void()> interrupted_;
};

} // namespace lumeno
