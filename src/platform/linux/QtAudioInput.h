#pragma once

#include "platform/AudioInput.h"

#include <QAudioDevice>
#include <QObject>

#include <memory>
#include <vector>

class QAudioSource;
class QIODevice;
class QMediaDevices;

namespace lumeno {

// The default microphone through Qt Multimedia, recorded as 16 kHz mono 16-bit (the sound server
// converts), delivered as float buffers of `bufferFrames` frames: short enough for a lively level meter,
// long enough for a steady root mean square. Recording ends by itself, with `interrupted`, when the device
// fails or goes away.
class QtAudioInput final : public QObject, public AudioInput {
    Q_OBJECT
public:
    static constexpr int sampleRate = 16000;
    static constexpr int bufferFrames = 1024;

    explicit QtAudioInput(QObject* parent = nullptr);
    ~QtAudioInput() override;

    bool start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) override;
    void stop() override;

private:
    void readAvailable();
    void checkDevice();
    void interrupt();

    QMediaDevices* devices_;
    QAudioDevice device_;
    std::unique_ptr<QAudioSource> source_;
    QIODevice* stream_ = nullptr;
    std::vector<float> pending_;
    std::function<void(const AudioBuffer&)> buffer_;
    std::function<void()> interrupted_;
};

} // namespace lumeno
