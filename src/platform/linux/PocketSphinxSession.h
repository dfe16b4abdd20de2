#pragma once

#include "platform/SpeechEngine.h"
#include "platform/linux/AudioResampler.h"

#include <QHash>
#include <QObject>

#include <memory>

namespace lumeno {

class PocketSphinxDecoder;
class WorkerThread;

// One dictation decoded while the user speaks: audio goes to the decoding thread as it arrives, the
// decoder's running guess comes back as the volatile result, and each stretch of speech that ends in a
// pause comes back settled. The engine that opened it must outlive it. The session may go while its jobs
// still wait on the decoding thread: they hold their own end of it, and nobody waits for them.
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
    struct Decoding;

    void deliver(const SpeechEngine::Result& result);
    void markSettled();

    WorkerThread& decoding_;
    std::shared_ptr<Decoding> shared_; // the decoding thread's end, kept by its jobs
    std::function<void(const SpeechEngine::Result&)> result_;
    QHash<QString, QString> spellings_;
    AudioResampler resampler_;
    bool finishing_ = false;
    bool settled_ = false;
};

} // namespace lumeno
