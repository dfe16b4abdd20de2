#pragma once

#include "platform/SpeechEngine.h"
#include "platform/linux/AudioResampler.h"

#include <QHash>
#include <QObject>

#include <atomic>

namespace lumeno {

class PocketSphinxDecoder;
class WorkerThread;

// One dictation decoded while the user speaks: audio goes to the decoding thread as it arrives, the
// decoder's running guess comes back as the volatile result, and each stretch of speech that ends in a
// pause comes back settled. The engine that opened it must outlive it.
class PocketSphinxSession final : public QObject, public SpeechEngine::Session {
    Q_OBJECT
public:
    PocketSphinxSession(WorkerThread& decoding, PocketSphinxDecoder& decoder, const QStringList& hints,
                        std::function<void(const SpeechEngine::Result&)> result);
    ~PocketSphinxSession() override;

    void feed(const AudioBuffer& buffer) override;
    QCoro::Task<> finish() override;
    void cancel() override;

    // The decoder spells in lower case: a word that is one of the hints gets the hint's spelling back.
    static QString respelled(const QString& text, const QHash<QString, QString>& spellings);

signals:
    void settled();

private:
    // On the decoding thread: hands a result to the main thread, spaced after what was settled before.
    void report(const QString& text, bool isFinal);
    void deliver(const SpeechEngine::Result& result);
    void markSettled();

    WorkerThread& decoding_;
    PocketSphinxDecoder& decoder_;
    std::function<void(const SpeechEngine::Result&)> result_;
    QHash<QString, QString> spellings_;
    AudioResampler resampler_;
    std::atomic<bool> cancelled_{false};
    bool finishing_ = false;
    bool settled_ = false;
    bool settledBefore_ = false; // decoding thread: a final text came before
    QString lastGuess_;          // decoding thread
};

} // namespace lumeno
