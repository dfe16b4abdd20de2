#include "platform/linux/LinuxMicrophoneAuthorizer.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace lumeno {

LinuxMicrophoneAuthorizer::LinuxMicrophoneAuthorizer(QString soundDevices, QString runtimeDirectory)
    : soundDevices_(std::move(soundDevices)), runtimeDirectory_(std::move(runtimeDirectory)) {}

AuthorizationStatus LinuxMicrophoneAuthorizer::status() const {
    return hasCaptureDevice() || hasSoundServer() ? AuthorizationStatus::granted
                                                  : AuthorizationStatus::denied;
}

QCoro::Task<bool> LinuxMicrophoneAuthorizer::requestAccess() {
    co_return status() == AuthorizationStatus::granted;
}

bool LinuxMicrophoneAuthorizer::hasCaptureDevice() const {
    // Capture devices end in "c" (pcmC0D0c); playback ones in "p".
    const QStringList devices =
        QDir(soundDevices_).entryList({QStringLiteral("pcmC*D*c")}, QDir::System | QDir::Files);
    for (const QString& device : devices) {
        const QByteArray path = QFile::encodeName(QDir(soundDevices_).filePath(device));
        if (::access(path.constData(), R_OK | W_OK) == 0)
            return true;
    }
    return false;
}

bool LinuxMicrophoneAuthorizer::hasSoundServer() const {
    if (runtimeDirectory_.isEmpty())
        return false;
    const QDir runtime(runtimeDirectory_);
    return runtime.exists(QStringLiteral("pulse/native")) || runtime.exists(QStringLiteral("pipewire-0"));
}

} // namespace lumeno
