#pragma once

#include "platform/AudioInput.h"
#include "support/Scheduler.h"

#include <QString>

#include <optional>

namespace lumeno {

// A microphone that plays a WAV file: after start() the file's audio arrives in buffers of
// `bufferSeconds`, one per `bufferSeconds / speed` on the scheduler (speed 0: one per turn of the event
// loop), then nothing, as from a microphone in a silent room. For tests and for trying the recognizer on
// a recording.
class WavFileAudioInput final : public AudioInput {
public:
    static constexpr double bufferSeconds = 0.064;

    WavFileAudioInput(QString path, Scheduler& scheduler, double speed = 1.0);
    ~WavFileAudioInput() override;

    // False when the file cannot be read as 16-bit PCM.
    bool start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) override;
    // Names the file: the user chose it, and it is what to fix.
    QString whyNotStarted() const override;
    void stop() override;

private:
    void deliverNext();

    QString path_;
    Scheduler& scheduler_;
    double speed_;
    std::optional<AudioBuffer> audio_;
    size_t position_ = 0;
    std::optional<Scheduler::TimerId> timer_;
    std::function<void(const AudioBuffer&)> buffer_;
};

} // namespace lumeno
