#include "platform/fake/FakeDefaultsStore.h"

namespace lumeno {

std::optional<QJsonValue> FakeDefaultsStore::get(const QString& key) const {
    const auto found = values_.constFind(key);
    if (found == values_.constEnd())
        return std::nullopt;
    return found.value();
}

void FakeDefaultsStore::set(const QString& key, const QJsonValue& value) {
    values_.insert(key, value);
    ++writes_;
}

void FakeDefaultsStore::remove(const QString& key) {
    values_.remove(key);
    ++writes_;
}

std::optional<QJsonObject> FakeDefaultsStore::persistentDomain(const QString& name) const {
    const auto found = domains_.constFind(name);
    if (found == domains_.constEnd())
        return std::nullopt;
    return found.value();
}

} // namespace lumeno
