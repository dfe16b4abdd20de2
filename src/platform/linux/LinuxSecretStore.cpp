#include "platform/linux/LinuxSecretStore.h"

namespace lumeno {

LinuxSecretStore::LinuxSecretStore(const QString& path, const Clock& clock)
    : state_(std::make_shared<State>(State{JsonObjectFile(path, clock), {}, {}})),
      disk_(Log::app, QStringLiteral("Couldn't save secrets: %{public}s")) {
    state_->kept = state_->asked = state_->file.load();
}

std::optional<QString> LinuxSecretStore::get(const QString& name) const {
    const QJsonValue secret = state_->kept.value(name);
    if (!secret.isString())
        return std::nullopt;
    return secret.toString();
}

QCoro::Task<std::optional<QString>> LinuxSecretStore::set(const QString& name, const QString& secret) {
    QJsonObject changed = state_->asked;
    changed.insert(name, secret);
    return save(std::move(changed));
}

QCoro::Task<std::optional<QString>> LinuxSecretStore::remove(const QString& name) {
    if (!state_->asked.contains(name))
        co_return std::nullopt;
    QJsonObject changed = state_->asked;
    changed.remove(name);
    QCoro::Task<std::optional<QString>> saving = save(std::move(changed));
    co_return co_await saving;
}

// A secret that could not be kept is not pretended to be: the old state stays in effect.
QCoro::Task<std::optional<QString>> LinuxSecretStore::save(QJsonObject changed) {
    const std::shared_ptr<State> state = state_;
    state->asked = changed;
    QCoro::Task<std::optional<QString>> writing =
        disk_.run<std::optional<QString>>([state, changed] { return state->file.save(changed); });
    const std::optional<QString> failure = co_await writing;
    if (failure)
        state->asked = state->kept;
    else
        state->kept = changed;
    co_return failure;
}

} // namespace lumeno
