#include "platform/linux/LinuxMicrophoneAuthorizer.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>

namespace lumeno {

LinuxMicrophoneAuthorizer::Microphone LinuxMicrophoneAuthorizer::qtMultimedia() {
    return {
        []() -> std::optional<QString> {
            const QAudioDevice input = QMediaDevices::defaultAudioInput();
            if (input.isNull())
                return std::nullopt;
            return QString::fromUtf8(input.id());
        },
        [](const QString& id) {
            for (const QAudioDevice& input : QMediaDevices::audioInputs()) {
                if (QString::fromUtf8(input.id()) != id)
                    continue;
                QAudioSource source(input, input.preferredFormat());
                source.start();
                const bool opened = source.error() == QAudio::NoError;
                source.stop();
                return opened;
            }
            return false;
        },
    };
}

LinuxMicrophoneAuthorizer::Microphone LinuxMicrophoneAuthorizer::recording(const QString& path) {
    return {[path]() -> std::optional<QString> { return path; }, [](const QString&) { return true; }};
}

LinuxMicrophoneAuthorizer::LinuxMicrophoneAuthorizer(Microphone microphone) : microphone_(std::move(microphone)) {}

AuthorizationStatus LinuxMicrophoneAuthorizer::status() const {
    const std::optional<QString> input = microphone_.defaultInput();
    return input && input != refusedInput_ ? AuthorizationStatus::granted : AuthorizationStatus::denied;
}

QCoro::Task<bool> LinuxMicrophoneAuthorizer::requestAccess() {
    const std::optional<QString> input = microphone_.defaultInput();
    if (!input)
        co_return false;
    const bool opens = microphone_.opens(*input);
    refusedInput_ = opens ? std::nullopt : input;
    co_return opens;
}

} // namespace lumeno
