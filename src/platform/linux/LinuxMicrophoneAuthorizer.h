#pragma once

#include "platform/MicrophoneAuthorizer.h"

#include <QString>

namespace lumeno {

// The Linux desktop has no per-program microphone permission: recording works when the user may open a
// capture device, directly (ALSA device nodes) or through the sound server (PulseAudio or PipeWire).
// Granted when one of those is there for this user, denied otherwise, so the user is sent to the sound
// settings; never "not determined", since there is nobody to ask.
class LinuxMicrophoneAuthorizer final : public MicrophoneAuthorizer {
public:
    // `soundDevices`: the ALSA device folder; `runtimeDirectory`: the user's runtime folder, where the
    // sound servers keep their sockets.
    LinuxMicrophoneAuthorizer(QString soundDevices = QStringLiteral("/dev/snd"),
                              QString runtimeDirectory = qEnvironmentVariable("XDG_RUNTIME_DIR"));

    AuthorizationStatus status() const override;
    QCoro::Task<bool> requestAccess() override;

private:
    bool hasCaptureDevice() const;
    bool hasSoundServer() const;

    QString soundDevices_;
    QString runtimeDirectory_;
};

} // namespace lumeno
