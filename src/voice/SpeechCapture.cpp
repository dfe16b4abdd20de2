#include "voice/SpeechCapture.h"

#include "platform/AudioInput.h"
#include "support/Log.h"

#include <algorithm>
#include <cmath>

namespace lumeno {

SpeechCapture::SpeechCapture(AudioInput& audio, SpeechEngine& engine) : audio_(audio), engine_(engine) {}

SpeechCapture::~SpeechCapture() {
    cancel();
}

QCoro::Task<std::vector<SpeechLocale>> SpeechCapture::supportedLocales() {
    const QStringList identifiers = co_await engine_.supportedLocales();
    std::vector<SpeechLocale> locales;
    for (const QString& identifier : identifiers)
        locales.push_back({identifier});
    std::sort(locales.begin(), locales.end());
    locales.erase(std::unique(locales.begin(), locales.end()), locales.end());
    co_return locales;
}

float SpeechCapture::level(std::span<const float> samples) {
    double sumOfSquares = 0;
    for (const float sample : samples)
        sumOfSquares += double(sample) * double(sample);
    const double rms = samples.empty() ? 0 : std::sqrt(sumOfSquares / double(samples.size()));
    // A buffer of garbage (NaN, infinity) is no sound, not full volume.
    if (!std::isfinite(rms))
        return 0;
    const double decibels = 20 * std::log10(std::max(rms, 0.0000001));
    return float(std::max(0.0, std::min(1.0, (decibels + 55) / 45)));
}

QCoro::Task<> SpeechCapture::prepared(SpeechLocale locale) {
    if (preparedLocales_.contains(locale.identifier))
        co_return;
    const std::vector<SpeechLocale> supported = co_await supportedLocales();
    if (std::find(supported.begin(), supported.end(), locale) == supported.end())
        throw CaptureError::languageUnsupported(locale.languageCode());
    if (const auto failure = co_await engine_.prepare(locale.identifier))
        throw CaptureError::failed(*failure);
    // Several callers may have waited for the same model; it became ready once.
    if (preparedLocales_.contains(locale.identifier))
        co_return;
    preparedLocales_.insert(locale.identifier);
    Log::speech.info(QStringLiteral("Speech model ready for %{public}s"), {locale.identifier});
}

QCoro::Task<> SpeechCapture::start(SpeechLocale locale, Engine) {
    cancel();
    const quint64 generation = generation_;
    co_await prepared(locale);
    if (generation != generation_)
        co_return;
    duration_ = 0;
    peakLevel_ = 0;
    session_ =
        engine_.open(locale.identifier, hints_, [this, generation](const SpeechEngine::Result& result) {
            if (generation == generation_)
                received(result);
        });
    if (!session_)
        throw CaptureError::failed(QStringLiteral("The speech recognizer couldn't start."));
    const bool recording = audio_.start(
        [this, generation](const AudioBuffer& buffer) {
            if (generation == generation_ && capturing_)
                heard(buffer);
        },
        [this, generation] {
            if (generation == generation_ && capturing_)
                onInterruption();
        });
    if (!recording) {
        std::exchange(session_, nullptr)->cancel();
        throw CaptureError::microphoneUnavailable(audio_.whyNotStarted());
    }
    capturing_ = true;
}

QCoro::Task<QString> SpeechCapture::stop() {
    if (!session_)
        co_return finalized_ + volatile_;
    capturing_ = false;
    audio_.stop();
    const quint64 generation = generation_;
    const auto session = session_; // kept alive here even if a teardown drops it meanwhile
    co_await session->finish();
    if (generation != generation_ || session_ != session)
        co_return QString();
    session_.reset();
    co_return finalized_ + volatile_;
}

void SpeechCapture::teardown() {
    capturing_ = false;
    audio_.stop();
    if (session_)
        std::exchange(session_, nullptr)->cancel();
}

void SpeechCapture::cancel() {
    ++generation_;
    teardown();
    finalized_.clear();
    volatile_.clear();
}

void SpeechCapture::received(const SpeechEngine::Result& result) {
    if (result.isFinal) {
        finalized_ += result.text;
        volatile_.clear();
    } else {
        volatile_ = result.text;
    }
    onTranscript(finalized_ + volatile_);
}

void SpeechCapture::heard(const AudioBuffer& buffer) {
    const float bufferLevel = level(buffer.samples);
    peakLevel_ = std::max(peakLevel_, bufferLevel);
    duration_ += buffer.seconds();
    session_->feed(buffer);
    onLevel(bufferLevel);
}

} // namespace lumeno
