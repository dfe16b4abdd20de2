#include "platform/linux/PocketSphinxSession.h"

#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/WorkerThread.h"
#include "support/Text.h"

#include <QCoreApplication>
#include <QCoroSignal>
#include <QPointer>

#include <atomic>

namespace lumeno {

namespace {

constexpr double decoderRate = 16000;

} // namespace

// What the jobs on the decoding thread work with. It outlives the session until the last job has run, so
// the session never waits for them: a job finds it cancelled and ends, and a result finds no session.
struct PocketSphinxSession::Decoding : std::enable_shared_from_this<Decoding> {
    explicit Decoding(PocketSphinxDecoder& decoder) : decoder(decoder) {}

    // On the decoding thread: hands a result to the main thread, spaced after what was settled before.
    void report(const QString& text, bool isFinal) {
        lastGuess = isFinal ? QString() : text;
        if (isFinal && text.isEmpty())
            return;
        // Texts carry their own spacing: what follows settled words starts with a space.
        const QString spaced = settledBefore && !text.isEmpty() ? QLatin1Char(' ') + text : text;
        settledBefore = settledBefore || isFinal;
        onMainThread([result = SpeechEngine::Result{spaced, isFinal}](PocketSphinxSession& session) {
            session.deliver(result);
        });
    }

    // Runs `work` on the main thread with the session, when it is still there.
    void onMainThread(std::function<void(PocketSphinxSession&)> work) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self = shared_from_this(), work = std::move(work)] {
                if (self->session)
                    work(*self->session);
            },
            Qt::QueuedConnection);
    }

    PocketSphinxDecoder& decoder;
    std::atomic<bool> cancelled{false};
    QPointer<PocketSphinxSession> session; // main thread only
    bool settledBefore = false;            // decoding thread: a final text came before
    QString lastGuess;                     // decoding thread
};

PocketSphinxSession::PocketSphinxSession(WorkerThread& decoding, PocketSphinxDecoder& decoder, const QStringList& hints,
                                         std::function<void(const SpeechEngine::Result&)> result)
    : decoding_(decoding), shared_(std::make_shared<Decoding>(decoder)), result_(std::move(result)),
      resampler_(decoderRate) {
    shared_->session = this;
    for (const QString& hint : hints)
        for (const QString& word : hint.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            spellings_.insert(Text::lowercased(word), word);
    decoding_.post([shared = shared_, hints] {
        if (shared->cancelled)
            return;
        shared->decoder.learn(hints);
        shared->decoder.startDictation();
    });
}

PocketSphinxSession::~PocketSphinxSession() {
    shared_->cancelled = true; // the jobs still queued end without touching the decoder
}

QString PocketSphinxSession::respelled(const QString& text, const QHash<QString, QString>& spellings) {
    QStringList words = text.split(QLatin1Char(' '));
    for (QString& word : words)
        word = spellings.value(Text::lowercased(word), word);
    return words.join(QLatin1Char(' '));
}

void PocketSphinxSession::feed(const AudioBuffer& buffer) {
    if (shared_->cancelled || finishing_)
        return;
    decoding_.post([shared = shared_, samples = resampler_.convert(buffer)] {
        if (shared->cancelled)
            return;
        const PocketSphinxDecoder::Progress progress = shared->decoder.process(samples);
        if (progress.ended)
            shared->report(*progress.ended, true);
        else if (progress.hypothesis != shared->lastGuess)
            shared->report(progress.hypothesis, false);
    });
}

QCoro::Task<> PocketSphinxSession::finish() {
    if (!finishing_ && !shared_->cancelled) {
        finishing_ = true;
        decoding_.post([shared = shared_] {
            const bool heard = !shared->cancelled;
            if (heard)
                shared->report(shared->decoder.endUtterance(), true);
            shared->onMainThread([](PocketSphinxSession& session) { session.markSettled(); });
            // After the words are on their way: the user waits for them, not for the disk. A dictation
            // closed once its words are out still taught the decoder its microphone.
            if (heard)
                shared->decoder.saveChannel();
        });
    }
    if (!settled_ && !shared_->cancelled)
        co_await qCoro(this, &PocketSphinxSession::settled);
}

void PocketSphinxSession::cancel() {
    shared_->cancelled = true;
    markSettled();
}

void PocketSphinxSession::markSettled() {
    if (settled_)
        return;
    settled_ = true;
    emit settled();
}

void PocketSphinxSession::deliver(const SpeechEngine::Result& result) {
    if (!shared_->cancelled)
        result_({respelled(result.text, spellings_), result.isFinal});
}

} // namespace lumeno
