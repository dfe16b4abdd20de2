#include "platform/linux/QtAudioInput.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>
#include <QtEndian>

namespace lumeno {

QtAudioInput::QtAudioInput(QObject* parent) : QObject(parent), devices_(new QMediaDevices(this)) {
    connect(devices_, &QMediaDevices::audioInputsChanged, this, &QtAudioInput::checkDevice);
}

QtAudioInput::~QtAudioInput() {
    stop();
}

bool QtAudioInput::start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) {
    stop();
    device_ = QMediaDevices::defaultAudioInput();
    if (device_.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    source_ = std::make_unique<QAudioSource>(device_, format);
    stream_ = source_->start();
    if (!stream_ || source_->error() != QAudio::NoError) {
        source_.reset();
        stream_ = nullptr;
        return false;
    }
    buffer_ = std::move(buffer);
    interrupted_ = std::move(interrupted);
    connect(stream_, &QIODevice::readyRead, this, &QtAudioInput::readAvailable);
    connect(source_.get(), &QAudioSource::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && source_ && source_->error() != QAudio::NoError)
            interrupt();
    });
    return true;
}

void QtAudioInput::stop() {
    if (source_) {
        source_->disconnect(this);
        source_->stop();
    }
    source_.reset();
    stream_ = nullptr;
    pending_.clear();
    buffer_ = nullptr;
    interrupted_ = nullptr;
}

void QtAudioInput::readAvailable() {
    if (!stream_)
        return;
    const QByteArray bytes = stream_->readAll();
    for (qsizetype at = 0; at + 1 < bytes.size(); at += 2)
        pending_.push_back(float(qFromUnaligned<qint16>(bytes.constData() + at)) / 32768.0f);
    while (pending_.size() >= size_t(bufferFrames) && buffer_) {
        AudioBuffer piece{{pending_.begin(), pending_.begin() + bufferFrames}, double(sampleRate)};
        pending_.erase(pending_.begin(), pending_.begin() + bufferFrames);
        const auto deliver = buffer_; // the receiver may stop recording from inside
        deliver(piece);
    }
}

void QtAudioInput::checkDevice() {
    if (!source_)
        return;
    for (const QAudioDevice& input : QMediaDevices::audioInputs())
        if (input.id() == device_.id())
            return;
    interrupt();
}

void QtAudioInput::interrupt() {
    const auto interrupted = interrupted_;
    stop();
    if (interrupted)
        interrupted();
}

} // namespace lumeno
