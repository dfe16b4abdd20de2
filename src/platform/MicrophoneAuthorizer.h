#pragma once

#include "platform/AuthorizationStatus.h"

#include <QCoroTask>
#include <QString>

#include <functional>

namespace lumeno {

// May the program record from the microphone?
class MicrophoneAuthorizer {
public:
    virtual ~MicrophoneAuthorizer() = default;

    virtual AuthorizationStatus status() const = 0;
    // Asks the desktop (and so the user, where the desktop prompts) for access; true when granted.
    virtual QCoro::Task<bool> requestAccess() = 0;
    // While denied, why, in words for the user when this desktop knows better than "no microphone";
    // empty otherwise.
    virtual QString whyDenied() const { return {}; }
    // Whether the desktop's sound server runs: without one, no settings page can give the program a
    // microphone.
    virtual bool hasSoundServer() const { return true; }

    // Called when the status changed by itself (a sound server came or went, the user picked another
    // input). Does nothing until set.
    std::function<void()> onChange = [] {};
};

} // namespace lumeno
