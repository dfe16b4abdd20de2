#include "platform/linux/WavFileAudioInput.h"

#include "platform/linux/WavFile.h"
#include "support/Log.h"

#include <QFileInfo>

#include <cmath>

namespace lumeno {

WavFileAudioInput::WavFileAudioInput(QString path, Scheduler& scheduler, double speed)
    : path_(std::move(path)), scheduler_(scheduler), speed_(speed) {}

WavFileAudioInput::~WavFileAudioInput() {
    stop();
}

bool WavFileAudioInput::start(std::function<void(const AudioBuffer&)> buffer, std::function<void()>) {
    stop();
    audio_ = WavFile::read(path_);
    if (!audio_)
        return false;
    buffer_ = std::move(buffer);
    position_ = 0;
    timer_ = scheduler_.nextTurn([this] { deliverNext(); });
    return true;
}

QString WavFileAudioInput::whyNotStarted() const {
    if (audio_)
        return {};
    if (!QFileInfo::exists(path_))
        return QStringLiteral("The audio file %1 (LUMENO_AUDIO_FILE) doesn't exist.").arg(path_);
    return QStringLiteral("The audio file %1 (LUMENO_AUDIO_FILE) isn't a readable 16-bit PCM WAV file.").arg(path_);
}

void WavFileAudioInput::stop() {
    if (timer_)
        scheduler_.cancel(*timer_);
    timer_.reset();
    buffer_ = nullptr;
}

void WavFileAudioInput::deliverNext() {
    timer_.reset();
    if (!buffer_ || position_ >= audio_->samples.size())
        return;
    const auto frames = size_t(std::lround(bufferSeconds * audio_->sampleRate));
    const size_t end = std::min(audio_->samples.size(), position_ + frames);
    AudioBuffer piece{{audio_->samples.begin() + qsizetype(position_), audio_->samples.begin() + qsizetype(end)},
                      audio_->sampleRate};
    position_ = end;
    // Someone trying dictation with a recording holds the key until it has played.
    if (position_ == audio_->samples.size())
        Log::speech.info(QStringLiteral("The audio file has played to its end (%{public}ss)"),
                         {QString::number(audio_->seconds(), 'f', 1)});
    // The receiver may stop the input from inside the callback: the next buffer is scheduled first, and the
    // callback called through a copy that outlives stop().
    timer_ = scheduler_.after(speed_ > 0 ? piece.seconds() / speed_ : 0, [this] { deliverNext(); });
    const auto deliver = buffer_;
    deliver(piece);
}

} // namespace lumeno
