#pragma once

#include "platform/MicrophoneAuthorizer.h"

#include <QMetaObject>

#include <memory>

namespace lumeno {

class PulseAudioServer;

// The Linux desktop has no per-program microphone permission: recording works when the sound server has a
// default input. Granted while it has one, denied while there is no server or it has no input, so the
// user is sent to the sound settings; never "not determined", since there is nobody to ask.
class LinuxMicrophoneAuthorizer final : public MicrophoneAuthorizer {
public:
    // The sound server's default input; none: a recording in place of the microphone (LUMENO_AUDIO_FILE),
    // with nothing to allow, so always granted (a file that cannot be played is reported, by name, when
    // listening starts).
    explicit LinuxMicrophoneAuthorizer(std::shared_ptr<PulseAudioServer> server);
    ~LinuxMicrophoneAuthorizer() override;

    AuthorizationStatus status() const override;
    QCoro::Task<bool> requestAccess() override;
    QString whyDenied() const override;
    bool hasSoundServer() const override;

private:
    std::shared_ptr<PulseAudioServer> server_;
    QMetaObject::Connection changes_;
};

} // namespace lumeno
