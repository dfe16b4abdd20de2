#pragma once

#include "platform/MicrophoneAuthorizer.h"

#include <QString>

#include <functional>
#include <optional>

namespace lumeno {

// The Linux desktop has no per-program microphone permission: recording works when the default input
// device opens. Granted while there is a default input that has not failed to open, denied when there is
// none or it refused, so the user is sent to the sound settings; never "not determined", since there is
// nobody to ask. A request opens the device for a moment to find out.
class LinuxMicrophoneAuthorizer final : public MicrophoneAuthorizer {
public:
    // The sound system as the authorizer sees it; the default one is Qt Multimedia's.
    struct Microphone {
        std::function<std::optional<QString>()> defaultInput; // its id; none without one
        std::function<bool(const QString& id)> opens;         // opens and closes it again
    };
    static Microphone qtMultimedia();
    // A recording in place of the microphone (LUMENO_AUDIO_FILE): nothing to allow, so always granted;
    // a file that cannot be played is reported, by name, when listening starts.
    static Microphone recording(const QString& path);

    explicit LinuxMicrophoneAuthorizer(Microphone microphone = qtMultimedia());

    AuthorizationStatus status() const override;
    QCoro::Task<bool> requestAccess() override;

private:
    Microphone microphone_;
    std::optional<QString> refusedInput_; // the input that last failed to open
};

} // namespace lumeno
