#include "platform/linux/LinuxMicrophoneAuthorizer.h"

#include "platform/linux/PulseAudioServer.h"

namespace lumeno {

LinuxMicrophoneAuthorizer::LinuxMicrophoneAuthorizer(std::shared_ptr<PulseAudioServer> server)
    : server_(std::move(server)) {
    if (server_)
        changes_ = QObject::connect(server_.get(), &PulseAudioServer::changed, [this] { onChange(); });
}

LinuxMicrophoneAuthorizer::~LinuxMicrophoneAuthorizer() {
    QObject::disconnect(changes_);
}

AuthorizationStatus LinuxMicrophoneAuthorizer::status() const {
    return !server_ || server_->defaultInput() ? AuthorizationStatus::granted : AuthorizationStatus::denied;
}

QCoro::Task<bool> LinuxMicrophoneAuthorizer::requestAccess() {
    co_return status() == AuthorizationStatus::granted;
}

bool LinuxMicrophoneAuthorizer::hasSoundServer() const {
    return !server_ || server_->isRunning();
}

QString LinuxMicrophoneAuthorizer::whyDenied() const {
    if (hasSoundServer())
        return {};
    return QStringLiteral("No sound server is running yet. Lumeno hears you as soon as one starts.");
}

} // namespace lumeno
