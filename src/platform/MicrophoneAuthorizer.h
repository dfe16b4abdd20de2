#pragma once

#include "platform/AuthorizationStatus.h"

#include <QCoroTask>

namespace lumeno {

// May the program record from the microphone?
class MicrophoneAuthorizer {
public:
    virtual ~MicrophoneAuthorizer() = default;

    virtual AuthorizationStatus status() const = 0;
    // Asks the desktop (and so the user, where the desktop prompts) for access; true when granted.
    virtual QCoro::Task<bool> requestAccess() = 0;
};

} // namespace lumeno
