#pragma once

#include "platform/MicrophoneAuthorizer.h"

namespace lumeno {

// A microphone permission the test sets, and the answer the user gives when the desktop asks.
class FakeMicrophoneAuthorizer final : public MicrophoneAuthorizer {
public:
    AuthorizationStatus status() const override { return status_; }
    // Only a permission not yet decided prompts; the prompt then takes `promptAnswer`.
    QCoro::Task<bool> requestAccess() override;

    void setStatus(AuthorizationStatus status) { status_ = status; }
    AuthorizationStatus promptAnswer = AuthorizationStatus::granted;
    int requestCount() const { return requests_; }
    int promptCount() const { return prompts_; }

private:
    AuthorizationStatus status_ = AuthorizationStatus::notDetermined;
    int requests_ = 0;
    int prompts_ = 0;
};

} // namespace lumeno
