#pragma once

#include "platform/AudioInput.h"

#include <QByteArray>
#include <QObject>

#include <memory>
#include <vector>

struct pa_stream;

namespace lumeno {

class PulseAudioServer;

// The sound server's default input, recorded as 16 kHz mono 16-bit (the server converts), delivered as
// float buffers of `bufferFrames` frames: short enough for a lively level meter, long enough for a steady
// root mean square. Recording ends by itself, with `interrupted`, when the input or the server goes away.
class PulseAudioInput final : public QObject, public AudioInput {
    Q_OBJECT
public:
    static constexpr int sampleRate = 16000;
    static constexpr int bufferFrames = 1024;

    explicit PulseAudioInput(std::shared_ptr<PulseAudioServer> server, QObject* parent = nullptr);
    ~PulseAudioInput() override;

    bool start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) override;
    QString whyNotStarted() const override { return whyNot_; }
    void stop() override;

private:
    // On the server's thread, under its lock.
    void readStream();
    void tellEnded();
    // On the main thread, for `recording`; what an earlier recording sends is dropped.
    void received(quint64 recording, const QByteArray& bytes);
    void ended(quint64 recording);

    std::shared_ptr<PulseAudioServer> server_;
    pa_stream* stream_ = nullptr;
    quint64 recording_ = 0; // changed under the server's lock
    std::vector<float> pending_;
    std::function<void(const AudioBuffer&)> buffer_;
    std::function<void()> interrupted_;
    QString whyNot_;
};

} // namespace lumeno
