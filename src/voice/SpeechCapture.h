#pragma once

#include "platform/SpeechEngine.h"
#include "voice/CaptureError.h"
#include "voice/SpeechLocale.h"

#include <QCoroTask>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace lumeno {

class AudioInput;

// Records the microphone and transcribes it on this machine: a live transcript and input level while
// listening, the final transcript when stopped. One capture at a time, on the main thread.
//
// Every capture belongs to a generation. cancel() starts a new one, so whatever the cancelled capture still
// delivers (a late result, an interruption, the end of a start that was waiting for its model) is dropped.
class SpeechCapture {
public:
    using CaptureError = lumeno::CaptureError;
    enum class Engine { onDevice };

    SpeechCapture(AudioInput& audio, SpeechEngine& engine);
    ~SpeechCapture();
    SpeechCapture(const SpeechCapture&) = delete;
    SpeechCapture& operator=(const SpeechCapture&) = delete;

    // The locales the engine has a model for, without repeats, sorted by identifier; never fails.
    QCoro::Task<std::vector<SpeechLocale>> supportedLocales();
    // The locale to listen in for a language: the preferred regional one when listed, else any of the same
    // language; none when the list has no locale of that language.
    static std::optional<SpeechLocale> locale(const QString& languageCode,
                                              const std::vector<SpeechLocale>& locales);
    // The regional locale a language is best transcribed in ("de" -> "de-DE", "no" -> "nb-NO").
    static QString preferredIdentifier(const QString& languageCode);
    // The reply-language codes the locales cover.
    static QSet<QString> languageCodes(const std::vector<SpeechLocale>& locales);
    // The sentence shown when a dictation came out in a shipped language this computer cannot transcribe;
    // none when the language is not shipped or can be transcribed.
    static std::optional<QString> unavailableNotice(const QString& languageCode,
                                                    const QSet<QString>& supported);
    // The input level of one buffer, 0 to 1: 20·log10 of its root mean square, mapped from -55..-10 dB.
    static float level(std::span<const float> samples);

    // Readies the locale's model, installing it when missing; remembered per locale once it worked.
    // Throws CaptureError.
    QCoro::Task<> prepared(SpeechLocale locale);
    // Starts recording and transcribing in the locale. Throws CaptureError. Returns without starting when
    // cancel() ran while it waited for the model.
    QCoro::Task<> start(SpeechLocale locale, Engine engine);
    // Ends the capture and gives the transcript once the recognizer has settled it; empty when the capture
    // was cancelled meanwhile. Afterwards duration() and peakLevel() describe the whole capture.
    QCoro::Task<QString> stop();
    // Stops at once without a transcript.
    void teardown();
    // Abandons the current capture: a new generation, teardown(), and both transcripts cleared.
    void cancel();

    bool isCapturing() const { return capturing_; }
    double duration() const { return duration_; }
    float peakLevel() const { return peakLevel_; }
    quint64 generation() const { return generation_; }
    const QString& finalized() const { return finalized_; }
    const QString& volatileText() const { return volatile_; }
    // Names and words given to the recognizer for the next capture.
    const QStringList& hints() const { return hints_; }
    void setHints(QStringList hints) { hints_ = std::move(hints); }

    // Called on the main thread during a capture.
    std::function<void(const QString& transcript)> onTranscript = [](const QString&) {};
    std::function<void(float level)> onLevel = [](float) {};
    std::function<void()> onInterruption = [] {};

private:
    void received(const SpeechEngine::Result& result);
    void heard(const AudioBuffer& buffer);

    AudioInput& audio_;
    SpeechEngine& engine_;
    QSet<QString> preparedLocales_;
    std::shared_ptr<SpeechEngine::Session> session_;
    bool capturing_ = false;
    quint64 generation_ = 0;
    QString finalized_;
    QString volatile_;
    QStringList hints_;
    double duration_ = 0;
    float peakLevel_ = 0;
};

} // namespace lumeno
