#include "platform/linux/PocketSphinxSession.h"

#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/WorkerThread.h"
#include "support/Text.h"

#include <QCoroSignal>

namespace lumeno {

namespace {

constexpr double decoderRate = 16000;

} // namespace

PocketSphinxSession::PocketSphinxSession(WorkerThread& decoding, PocketSphinxDecoder& decoder, const QStringList& hints,
                                         std::function<void(const SpeechEngine::Result&)> result)
    : decoding_(decoding), decoder_(decoder), result_(std::move(result)), resampler_(decoderRate) {
    for (const QString& hint : hints)
        for (const QString& word : hint.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            spellings_.insert(Text::lowercased(word), word);
    decoding_.post([this, hints] {
        if (cancelled_)
            return;
        decoder_.learn(hints);
        decoder_.startDictation();
    });
}

PocketSphinxSession::~PocketSphinxSession() {
    cancelled_ = true;
    // Jobs on the decoding thread refer to this session: wait until the ones already queued have passed.
    decoding_.run([] { return true; }, std::chrono::hours(1));
}

QString PocketSphinxSession::respelled(const QString& text, const QHash<QString, QString>& spellings) {
    QStringList words = text.split(QLatin1Char(' '));
    for (QString& word : words)
        word = spellings.value(Text::lowercased(word), word);
    return words.join(QLatin1Char(' '));
}

void PocketSphinxSession::feed(const AudioBuffer& buffer) {
    if (cancelled_ || finishing_)
        return;
    decoding_.post([this, samples = resampler_.convert(buffer)] {
        if (cancelled_)
            return;
        const PocketSphinxDecoder::Progress progress = decoder_.process(samples);
        if (progress.ended)
            report(*progress.ended, true);
        else if (progress.hypothesis != lastGuess_)
            report(progress.hypothesis, false);
    });
}

QCoro::Task<> PocketSphinxSession::finish() {
    if (!finishing_ && !cancelled_) {
        finishing_ = true;
        decoding_.post([this] {
            if (!cancelled_)
                report(decoder_.endUtterance(), true);
            QMetaObject::invokeMethod(this, [this] { markSettled(); }, Qt::QueuedConnection);
        });
    }
    if (!settled_ && !cancelled_)
        co_await qCoro(this, &PocketSphinxSession::settled);
}

void PocketSphinxSession::cancel() {
    cancelled_ = true;
    markSettled();
}

void PocketSphinxSession::markSettled() {
    if (settled_)
        return;
    settled_ = true;
    emit settled();
}

void PocketSphinxSession::report(const QString& text, bool isFinal) {
    lastGuess_ = isFinal ? QString() : text;
    if (isFinal && text.isEmpty())
        return;
    // Texts carry their own spacing: what follows settled words starts with a space.
    const QString spaced = settledBefore_ && !text.isEmpty() ? QLatin1Char(' ') + text : text;
    settledBefore_ = settledBefore_ || isFinal;
    QMetaObject::invokeMethod(
        this, [this, result = SpeechEngine::Result{spaced, isFinal}] { deliver(result); }, Qt::QueuedConnection);
}

void PocketSphinxSession::deliver(const SpeechEngine::Result& result) {
    if (!cancelled_)
        result_({respelled(result.text, spellings_), result.isFinal});
}

} // namespace lumeno
