#include "platform/fake/FakeMicrophoneAuthorizer.h"

namespace lumeno {

QCoro::Task<bool> FakeMicrophoneAuthorizer::requestAccess() {
    ++requests_;
    if (status_ == AuthorizationStatus::notDetermined) {
        ++prompts_;
        status_ = promptAnswer;
    }
    co_return status_ == AuthorizationStatus::granted;
}

} // namespace lumeno
