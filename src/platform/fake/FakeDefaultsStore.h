#pragma once

#include "platform/DefaultsStore.h"

#include <QHash>

namespace lumeno {

// Settings held in memory, with other programs' settings scripted by name.
class FakeDefaultsStore final : public DefaultsStore {
public:
    std::optional<QJsonValue> get(const QString& key) const override;
    void set(const QString& key, const QJsonValue& value) override;
    void remove(const QString& key) override;
    std::optional<QJsonObject> persistentDomain(const QString& name) const override;

    void setPersistentDomain(const QString& name, const QJsonObject& values) { domains_[name] = values; }
    const QJsonObject& values() const { return values_; }
    int writeCount() const { return writes_; }

private:
    QJsonObject values_;
    QHash<QString, QJsonObject> domains_;
    int writes_ = 0;
};

} // namespace lumeno
