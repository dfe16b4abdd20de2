#include "platform/linux/PocketSphinxEngine.h"

#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxSession.h"
#include "support/PostedJob.h"

#include <QCoroFuture>
#include <QDir>

namespace lumeno {

PocketSphinxEngine::PocketSphinxEngine(QString modelRoot, PocketSphinxDecoder::Options options,
                                       QString channelFolder, QObject* parent)
    : QObject(parent), modelRoot_(std::move(modelRoot)), options_(std::move(options)),
      channelFolder_(std::move(channelFolder)), decoding_(QStringLiteral("Speech")) {}

PocketSphinxEngine::~PocketSphinxEngine() {
    // The decoders belong to the decoding thread: they are freed there.
    decoding_.run(
        [this] {
            decoders_.clear();
            return true;
        },
        std::chrono::hours(1));
}

namespace {

// The result of `job` run on `thread`, for the main thread to await.
template <class Job>
auto runOn(WorkerThread& thread, Job job) {
    return postedJob([&thread](auto posted) { thread.post(std::move(posted)); }, std::move(job));
}

} // namespace

QCoro::Task<QStringList> PocketSphinxEngine::supportedLocales() {
    // The model folders are looked at on the decoding thread: the main thread never waits on the disk.
    QFuture<std::vector<PocketSphinxModel>> scanning = runOn(
        decoding_, [root = modelRoot_] { return PocketSphinxModel::installed(root); });
    const std::vector<PocketSphinxModel> models = co_await scanning;
    QStringList locales;
    for (const PocketSphinxModel& model : models)
        locales.push_back(model.locale);
    co_return locales;
}

QCoro::Task<std::optional<QString>> PocketSphinxEngine::prepare(QString locale) {
    if (ready_.count(locale))
        co_return std::nullopt;
    // Found and loaded on the decoding thread, which owns the decoder from then on; a second request finds
    // the first's.
    using Loaded = std::pair<PocketSphinxDecoder*, QString>;
    QFuture<Loaded> loading = runOn(decoding_, [this, locale]() -> Loaded {
        std::optional<PocketSphinxModel> found;
        for (const PocketSphinxModel& model : PocketSphinxModel::installed(modelRoot_))
            if (model.locale.compare(locale, Qt::CaseInsensitive) == 0)
                found = model;
        if (!found)
            return {nullptr, QStringLiteral("No speech model for %1 is installed.").arg(locale)};
        std::unique_ptr<PocketSphinxDecoder>& decoder = decoders_[found->locale];
        QString error;
        if (!decoder) {
            decoder = PocketSphinxDecoder::load(*found, error, options_);
            if (decoder && !channelFolder_.isEmpty())
                decoder->keepChannelIn(
                    QDir(channelFolder_).filePath(QStringLiteral("speech-microphone-%1.txt").arg(found->locale)));
        }
        return {decoder.get(), error};
    });
    const Loaded loaded = co_await loading;
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
