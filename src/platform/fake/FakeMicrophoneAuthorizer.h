#pragma once

#include "platform/MicrophoneAuthorizer.h"

namespace lumeno {

// A microphone permission the test sets, and the answer the user gives when the desktop asks.
class FakeMicrophoneAuthorizer final : public MicrophoneAuthorizer {
public:
    AuthorizationStatus status() const override { return status_; }
    // Only a permission not yet decided prompts; the prompt then takes `promptAnswer`.
    QCoro::Task<bool> requestAccess() override;

    QString whyDenied() const override { return status_ == AuthorizationStatus::denied ? whyDenied_ : QString(); }
    bool hasSoundServer() const override { return soundServer_; }

    void setStatus(AuthorizationStatus status) { status_ = status; }
    // The status changing by itself, as when a sound server starts or stops, with the reason a denial gives.
    void change(AuthorizationStatus status, QString whyDenied = {}) {
        status_ = status;
        whyDenied_ = std::move(whyDenied);
        soundServer_ = soundServer_ || status == AuthorizationStatus::granted;
        onChange();
    }
    // The sound server stopping (with the reason a denial gives) or starting again with no microphone.
    void changeSoundServer(bool running, QString whyDenied = {}) {
        soundServer_ = running;
        change(AuthorizationStatus::denied, std::move(whyDenied));
    }
    AuthorizationStatus promptAnswer = AuthorizationStatus::granted;
    int requestCount() const { return requests_; }
    int promptCount() const { return prompts_; }

private:
    AuthorizationStatus status_ = AuthorizationStatus::notDetermined;
    QString whyDenied_;
    bool soundServer_ = true;
    int requests_ = 0;
    int prompts_ = 0;
};

} // namespace lumeno
