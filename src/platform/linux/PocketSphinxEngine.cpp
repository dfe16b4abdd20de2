#include "platform/linux/PocketSphinxEngine.h"

#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxSession.h"

#include <QCoroFuture>
#include <QPromise>

namespace lumeno {

PocketSphinxEngine::PocketSphinxEngine(QString modelRoot, QObject* parent)
    : QObject(parent), modelRoot_(std::move(modelRoot)), decoding_(QStringLiteral("Speech")) {}

PocketSphinxEngine::~PocketSphinxEngine() {
    // The decoders belong to the decoding thread: they are freed there.
    decoding_.run(
        [this] {
            decoders_.clear();
            return true;
        },
        std::chrono::hours(1));
}

std::optional<PocketSphinxModel> PocketSphinxEngine::model(const QString& locale) const {
    for (const PocketSphinxModel& model : PocketSphinxModel::installed(modelRoot_))
        if (model.locale.compare(locale, Qt::CaseInsensitive) == 0)
            return model;
    return std::nullopt;
}

QCoro::Task<QStringList> PocketSphinxEngine::supportedLocales() {
    QStringList locales;
    for (const PocketSphinxModel& model : PocketSphinxModel::installed(modelRoot_))
        locales.push_back(model.locale);
    co_return locales;
}

QCoro::Task<std::optional<QString>> PocketSphinxEngine::prepare(QString locale) {
    if (ready_.count(locale))
        co_return std::nullopt;
    const std::optional<PocketSphinxModel> found = model(locale);
    if (!found)
        co_return QStringLiteral("No speech model for %1 is installed.").arg(locale);
    // Loaded on the decoding thread, which owns it from then on; a second request finds the first's.
    using Loaded = std::pair<PocketSphinxDecoder*, QString>;
    auto promise = std::make_shared<QPromise<Loaded>>();
    QFuture<Loaded> loading = promise->future();
    promise->start();
    decoding_.post([this, promise, model = *found] {
        std::unique_ptr<PocketSphinxDecoder>& decoder = decoders_[model.locale];
        QString error;
        if (!decoder)
            decoder = PocketSphinxDecoder::load(model, error);
        promise->addResult(Loaded{decoder.get(), error});
        promise->finish();
    });
    Loaded loaded = co_await loading;
    if (!loaded.first)
        co_return loaded.second;
    ready_[locale] = loaded.first;
    co_return std::nullopt;
}

std::shared_ptr<SpeechEngine::Session> PocketSphinxEngine::open(const QString& locale, const QStringList& hints,
                                                               std::function<void(const Result&)> result) {
    const auto decoder = ready_.find(locale);
    if (decoder == ready_.end())
        return nullptr;
    // One decoder, one dictation: a session still going is over.
    if (const std::shared_ptr<PocketSphinxSession> previous = current_.lock())
        previous->cancel();
    auto session = std::make_shared<PocketSphinxSession>(decoding_, *decoder->second, hints, std::move(result));
    current_ = session;
    return session;
}

} // namespace lumeno
