#pragma once

#include "platform/SpeechEngine.h"

namespace lumeno {

// Stands in until an on-device recognizer is built in: it knows no locale, so dictation reports the
// language as unsupported instead of listening to nothing.
class UnavailableSpeechEngine final : public SpeechEngine {
public:
    QCoro::Task<QStringList> supportedLocales() override { co_return QStringList(); }
    QCoro::Task<std::optional<QString>> prepare(QString) override {
        co_return QStringLiteral("This version has no speech recognizer yet.");
    }
    std::shared_ptr<Session> open(const QString&, const QStringList&,
                                  std::function<void(const Result&)>) override {
        return nullptr;
    }
};

} // namespace lumeno
