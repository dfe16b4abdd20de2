#include "platform/fake/FakeSecretStore.h"

namespace lumeno {

std::optional<QString> FakeSecretStore::get(const QString& name) const {
    const auto found = secrets_.constFind(name);
    if (found == secrets_.constEnd())
        return std::nullopt;
    return found.value();
}

QCoro::Task<std::optional<QString>> FakeSecretStore::set(const QString& name, const QString& secret) {
    if (failWith)
        co_return std::optional<QString>(failWith); // a copy: the member stays
    secrets_.insert(name, secret);
    co_return std::nullopt;
}

QCoro::Task<std::optional<QString>> FakeSecretStore::remove(const QString& name) {
    if (failWith)
        co_return std::optional<QString>(failWith); // a copy: the member stays
    secrets_.remove(name);
    co_return std::nullopt;
}

} // namespace lumeno
