#include "platform/linux/LinuxSecretStore.h"

namespace lumeno {

LinuxSecretStore::LinuxSecretStore(const QString& path, const Clock& clock)
    : file_(path, clock), secrets_(file_.load()) {}

std::optional<QString> LinuxSecretStore::get(const QString& name) const {
    const QJsonValue secret = secrets_.value(name);
    if (!secret.isString())
        return std::nullopt;
    return secret.toString();
}

std::optional<QString> LinuxSecretStore::set(const QString& name, const QString& secret) {
    QJsonObject changed = secrets_;
    changed.insert(name, secret);
    return save(std::move(changed));
}

std::optional<QString> LinuxSecretStore::remove(const QString& name) {
    if (!secrets_.contains(name))
        return std::nullopt;
    QJsonObject changed = secrets_;
    changed.remove(name);
    return save(std::move(changed));
}

// A secret that could not be kept is not pretended to be: the old state stays in effect.
std::optional<QString> LinuxSecretStore::save(QJsonObject changed) {
    if (auto failed = file_.save(changed))
        return failed;
    secrets_ = std::move(changed);
    return std::nullopt;
}

} // namespace lumeno
