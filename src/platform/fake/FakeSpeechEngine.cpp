#include "platform/fake/FakeSpeechEngine.h"

namespace lumeno {

FakeSpeechEngine::FakeSpeechEngine()
    : supported_{QStringLiteral("en-US"), QStringLiteral("en-GB"), QStringLiteral("de-DE"),
                 QStringLiteral("sl-SI")},
      installed_(supported_.begin(), supported_.end()) {}

QCoro::Task<QStringList> FakeSpeechEngine::supportedLocales() {
    co_return supported_;
}

QCoro::Task<std::optional<QString>> FakeSpeechEngine::prepare(QString locale) {
    ++preparations_;
    co_await preparationGate_.wait();
    if (!supported_.contains(locale))
        co_return QStringLiteral("There is no speech model for %1.").arg(locale);
    if (installed_.contains(locale))
        co_return std::nullopt;
    if (installFailure_)
        co_return installFailure_;
    installs_.append(locale);
    installed_.insert(locale);
    co_return std::nullopt;
}

std::shared_ptr<SpeechEngine::Session> FakeSpeechEngine::open(const QString& locale, const QStringList& hints,
                                                             std::function<void(const Result&)> result) {
    FakeGate finishGate;
    if (holdsFinishes_)
        finishGate.close();
    sessions_.push_back(std::make_shared<FakeSpeechSession>(locale, hints, std::move(result), finishGate));
    return sessions_.back();
}

void FakeSpeechEngine::releaseFinishes() {
    holdsFinishes_ = false;
    for (const auto& session : sessions_)
        session->releaseFinish();
}

} // namespace lumeno
