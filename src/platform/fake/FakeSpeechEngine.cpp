#include "platform/fake/FakeSpeechEngine.h"

#include <utility>

namespace lumeno {

FakeSpeechEngine::FakeSpeechEngine()
    : supported_{QStringLiteral("en-US"), QStringLiteral("en-GB"), QStringLiteral("de-DE"),
                 QStringLiteral("sl-SI")},
      installed_(supported_.begin(), supported_.end()) {}

// co_return of a member goes through std::as_const: QCoro's promise would move out of a non-const lvalue.
QCoro::Task<QStringList> FakeSpeechEngine::supportedLocales() {
    co_return std::as_const(supported_);
}

QCoro::Task<std::optional<QString>> FakeSpeechEngine::prepare(QString locale) {
    ++preparations_;
    co_await preparationGate_.wait();
    if (!supported_.contains(locale))
        co_return QStringLiteral("There is no speech model for %1.").arg(locale);
    if (installed_.contains(locale))
        co_return std::nullopt;
    if (installFailure_)
        co_return std::as_const(installFailure_);
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

void FakeSpeechEngine::holdFinishes() {
    holdsFinishes_ = true;
    for (const auto& session : sessions_)
        session->holdFinish();
}

void FakeSpeechEngine::releaseFinishes() {
    holdsFinishes_ = false;
    for (const auto& session : sessions_)
        session->releaseFinish();
}

} // namespace lumeno
