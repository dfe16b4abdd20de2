#include "platform/fake/FakeSecretStore.h"

namespace lumeno {

std::optional<QString> FakeSecretStore::get(const QString& name) const {
    const auto found = secrets_.constFind(name);
    if (found == secrets_.constEnd())
        return std::nullopt;
    return found.value();
}

std::optional<QString> FakeSecretStore::set(const QString& name, const QString& secret) {
    if (failWith)
        return failWith;
    secrets_.insert(name, secret);
    return std::nullopt;
}

std::optional<QString> FakeSecretStore::remove(const QString& name) {
    if (failWith)
        return failWith;
    secrets_.remove(name);
    return std::nullopt;
}

} // namespace lumeno
