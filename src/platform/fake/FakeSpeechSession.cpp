#include "platform/fake/FakeSpeechSession.h"

namespace lumeno {

FakeSpeechSession::FakeSpeechSession(QString locale, QStringList hints,
                                     std::function<void(const SpeechEngine::Result&)> result,
                                     FakeGate finishGate)
    : locale_(std::move(locale)), hints_(std::move(hints)), result_(std::move(result)),
      finishGate_(std::move(finishGate)) {}

void FakeSpeechSession::feed(const AudioBuffer& buffer) {
    if (!finished_ && !cancelled_)
        fedSeconds_ += buffer.seconds();
}

QCoro::Task<> FakeSpeechSession::finish() {
    finished_ = true;
    co_await finishGate_.wait();
    if (!volatile_.isEmpty())
        deliver({volatile_, true});
}

void FakeSpeechSession::cancel() {
    cancelled_ = true;
    finishGate_.open();
}

void FakeSpeechSession::hearVolatile(const QString& text) {
    volatile_ = text;
    deliver({text, false});
}

void FakeSpeechSession::hearFinal(const QString& text) {
    volatile_.clear();
    deliver({text, true});
}

void FakeSpeechSession::deliver(const SpeechEngine::Result& result) {
    if (!cancelled_)
        result_(result);
}

} // namespace lumeno
