#include "platform/fake/FakeAudioInput.h"

#include <QtMath>

namespace lumeno {

bool FakeAudioInput::start(std::function<void(const AudioBuffer&)> buffer,
                           std::function<void()> interrupted) {
    ++starts_;
    if (!available_)
        return false;
    buffer_ = std::move(buffer);
    interrupted_ = std::move(interrupted);
    recording_ = true;
    return true;
}

void FakeAudioInput::stop() {
    recording_ = false;
    buffer_ = nullptr;
    interrupted_ = nullptr;
}

void FakeAudioInput::deliver(const AudioBuffer& buffer) {
    if (recording_)
        buffer_(buffer);
}

void FakeAudioInput::hear(double seconds, float amplitude, double sampleRate) {
    const auto perBuffer = qsizetype(qRound(sampleRate / 10));
    auto remaining = qsizetype(qRound(seconds * sampleRate));
    while (remaining > 0 && recording_) {
        AudioBuffer buffer{std::vector<float>(size_t(std::min(perBuffer, remaining))), sampleRate};
        // A square wave: every sample has the same magnitude, so the root mean square is `amplitude`.
        for (size_t i = 0; i < buffer.samples.size(); ++i)
            buffer.samples[i] = i % 2 ? -amplitude : amplitude;
        remaining -= qsizetype(buffer.samples.size());
        deliver(buffer);
    }
}

void FakeAudioInput::interrupt() {
    if (!recording_)
        return;
    const auto interrupted = interrupted_;
    stop();
    interrupted();
}

} // namespace lumeno
