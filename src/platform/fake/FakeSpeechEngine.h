#pragma once

#include "platform/SpeechEngine.h"
#include "platform/fake/FakeGate.h"
#include "platform/fake/FakeSpeechSession.h"

#include <QSet>

namespace lumeno {

// A speech engine the test scripts: which locales it has models for, which are installed, whether
// installing works, and what each session hears (through session()).
class FakeSpeechEngine final : public SpeechEngine {
public:
    FakeSpeechEngine();

    QCoro::Task<QStringList> supportedLocales() override;
    QCoro::Task<std::optional<QString>> prepare(QString locale) override;
    std::shared_ptr<Session> open(const QString& locale, const QStringList& hints,
                                  std::function<void(const Result&)> result) override;

    // Scripting. By default it has models for en-US, en-GB, de-DE and sl-SI, all installed.
    void setSupportedLocales(QStringList locales) { supported_ = std::move(locales); }
    void setInstalled(const QStringList& locales) {
        installed_ = QSet<QString>(locales.begin(), locales.end());
    }
    // Installing a missing model fails with this reason (none: installing works).
    void setInstallFailure(std::optional<QString> reason) { installFailure_ = std::move(reason); }
    // While held, preparations wait until releasePreparations() (a model being downloaded).
    void holdPreparations() { preparationGate_.close(); }
    void releasePreparations() { preparationGate_.open(); }
    // While held, a finishing session waits until releaseFinishes() (a recognizer settling its last words).
    void holdFinishes();
    void releaseFinishes();

    // The newest session, whatever its state; null before the first.
    FakeSpeechSession* session() const { return sessions_.empty() ? nullptr : sessions_.back().get(); }
    int sessionCount() const { return int(sessions_.size()); }
    const QStringList& installs() const { return installs_; }
    int preparationCount() const { return preparations_; }

private:
    QStringList supported_;
    QSet<QString> installed_;
    std::optional<QString> installFailure_;
    FakeGate preparationGate_;
    bool holdsFinishes_ = false;
    std::vector<std::shared_ptr<FakeSpeechSession>> sessions_;
    QStringList installs_;
    int preparations_ = 0;
};

} // namespace lumeno
