#pragma once

#include "platform/SpeechEngine.h"
#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxModel.h"
#include "platform/linux/WorkerThread.h"

#include <QObject>
#include <QSet>

#include <map>
#include <memory>

namespace lumeno {

class PocketSphinxSession;

// On-device recognition with PocketSphinx, for the locales it has a model installed for (Debian's
// pocketsphinx-en-us gives en-US). Each locale's model is loaded once, on the decoding thread, and kept
// for every later dictation; decoding runs there too, while the user speaks. It must outlive the sessions
// it opens.
class PocketSphinxEngine final : public QObject, public SpeechEngine {
    Q_OBJECT
public:
    // With a `channelFolder`, each locale's view of the microphone is kept there between runs.
    explicit PocketSphinxEngine(QString modelRoot = PocketSphinxModel::debianRoot(),
                                PocketSphinxDecoder::Options options = PocketSphinxDecoder::forDictation(),
                                QString channelFolder = {}, QObject* parent = nullptr);
    ~PocketSphinxEngine() override;

    QCoro::Task<QStringList> supportedLocales() override;
    QCoro::Task<std::optional<QString>> prepare(QString locale) override;
    std::shared_ptr<Session> open(const QString& locale, const QStringList& hints,
                                  std::function<void(const Result&)> result) override;

private:
    QString modelRoot_;
    PocketSphinxDecoder::Options options_;
    QString channelFolder_;
    WorkerThread decoding_;
    // Touched on the decoding thread only; the main thread knows which locales are in it.
    std::map<QString, std::unique_ptr<PocketSphinxDecoder>> decoders_;
    std::map<QString, PocketSphinxDecoder*> ready_;
    std::weak_ptr<PocketSphinxSession> current_;
};

} // namespace lumeno
