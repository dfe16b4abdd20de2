#include "platform/linux/PulseAudioInput.h"

#include "platform/linux/PulseAudioServer.h"

#include <QtEndian>

#include <pulse/pulseaudio.h>

namespace lumeno {

namespace {

PulseAudioInput& inputOf(void* self) {
    return *static_cast<PulseAudioInput*>(self);
}

} // namespace

PulseAudioInput::PulseAudioInput(std::shared_ptr<PulseAudioServer> server, QObject* parent)
    : QObject(parent), server_(std::move(server)) {}

PulseAudioInput::~PulseAudioInput() {
    stop();
}

bool PulseAudioInput::start(std::function<void(const AudioBuffer&)> buffer, std::function<void()> interrupted) {
    stop();
    const std::optional<PulseAudioServer::Input> input = server_->defaultInput();
    whyNot_ = !server_->isRunning() ? QStringLiteral("No sound server is running.")
              : !input              ? QStringLiteral("The sound server has no input to record from.")
                                    : QString();
    if (!input)
        return false;
    static constexpr pa_sample_spec format{PA_SAMPLE_S16LE, sampleRate, 1};
    // Pieces of one buffer, so the level meter moves as the user speaks.
    pa_buffer_attr sizes;
    sizes.maxlength = uint32_t(-1);
    sizes.tlength = sizes.prebuf = sizes.minreq = uint32_t(-1);
    sizes.fragsize = uint32_t(bufferFrames * sizeof(qint16));
    server_->lock();
    pa_context* context = server_->context();
    if (context && (stream_ = pa_stream_new(context, "Dictation", &format, nullptr))) {
        ++recording_;
        pa_stream_set_read_callback(
            stream_, [](pa_stream*, size_t, void* self) { inputOf(self).readStream(); }, this);
        pa_stream_set_state_callback(
            stream_,
            [](pa_stream* stream, void* self) {
                if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
                    inputOf(self).tellEnded();
            },
            this);
        if (pa_stream_connect_record(stream_, input->name.toUtf8().constData(), &sizes, PA_STREAM_ADJUST_LATENCY) < 0) {
            pa_stream_unref(stream_);
            stream_ = nullptr;
        }
    }
    server_->unlock();
    if (!stream_) {
        whyNot_ = QStringLiteral("The sound server refused to record from %1.").arg(input->description);
        return false;
    }
    buffer_ = std::move(buffer);
    interrupted_ = std::move(interrupted);
    return true;
}

void PulseAudioInput::stop() {
    if (stream_) {
        server_->lock();
        pa_stream_set_read_callback(stream_, nullptr, nullptr);
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
        ++recording_;
        server_->unlock();
    }
    pending_.clear();
    buffer_ = nullptr;
    interrupted_ = nullptr;
}

void PulseAudioInput::readStream() {
    QByteArray bytes;
    const void* data = nullptr;
    size_t length = 0;
    while (pa_stream_readable_size(stream_) > 0 && pa_stream_peek(stream_, &data, &length) == 0 && length > 0) {
        // A hole in the stream is silence.
        bytes.append(data ? QByteArray(static_cast<const char*>(data), qsizetype(length)) : QByteArray(qsizetype(length), '\0'));
        pa_stream_drop(stream_);
    }
    QMetaObject::invokeMethod(this, [this, recording = recording_, bytes] { received(recording, bytes); },
                              Qt::QueuedConnection);
}

void PulseAudioInput::tellEnded() {
    QMetaObject::invokeMethod(this, [this, recording = recording_] { ended(recording); }, Qt::QueuedConnection);
}

void PulseAudioInput::received(quint64 recording, const QByteArray& bytes) {
    if (recording != recording_ || !stream_)
        return;
    for (qsizetype at = 0; at + 1 < bytes.size(); at += 2)
        pending_.push_back(float(qFromLittleEndian<qint16>(bytes.constData() + at)) / 32768.0f);
    while (pending_.size() >= size_t(bufferFrames) && buffer_) {
        AudioBuffer piece{{pending_.begin(), pending_.begin() + bufferFrames}, double(sampleRate)};
        pending_.erase(pending_.begin(), pending_.begin() + bufferFrames);
        const auto deliver = buffer_; // the receiver may stop recording from inside
        deliver(piece);
    }
}

void PulseAudioInput::ended(quint64 recording) {
    if (recording != recording_ || !stream_)
        return;
    const auto interrupted = interrupted_;
    stop();
    if (interrupted)
        interrupted();
}

} // namespace lumeno
