#pragma once

#include "platform/SpeechEngine.h"
#include "platform/fake/FakeGate.h"

namespace lumeno {

// One recognition on the fake engine. The test decides what it hears (hearVolatile, hearFinal); finishing
// settles the volatile guess as final, the way a real recognizer does when the audio ends.
class FakeSpeechSession final : public SpeechEngine::Session {
public:
    FakeSpeechSession(QString locale, QStringList hints,
                      std::function<void(const SpeechEngine::Result&)> result, FakeGate finishGate);

    void feed(const AudioBuffer& buffer) override;
    QCoro::Task<> finish() override;
    void cancel() override;

    void hearVolatile(const QString& text);
    void hearFinal(const QString& text);
    // While held, finish() waits until releaseFinish() or cancel().
    void holdFinish() { finishGate_.close(); }
    void releaseFinish() { finishGate_.open(); }

    const QString& locale() const { return locale_; }
    const QStringList& hints() const { return hints_; }
    double fedSeconds() const { return fedSeconds_; }
    bool isFinished() const { return finished_; }
    bool isCancelled() const { return cancelled_; }

private:
    void deliver(const SpeechEngine::Result& result);

    QString locale_;
    QStringList hints_;
    std::function<void(const SpeechEngine::Result&)> result_;
    FakeGate finishGate_;
    QString volatile_;
    double fedSeconds_ = 0;
    bool finished_ = false;
    bool cancelled_ = false;
};

} // namespace lumeno
