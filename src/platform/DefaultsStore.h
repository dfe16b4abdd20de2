#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

namespace lumeno {

// The user's settings as typed JSON values by key. Writes are kept at once; a failure to keep them is the
// store's own business (it logs): settings code never waits on or reacts to the disk.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    virtual std::optional<QJsonValue> get(const QString& key) const = 0;
    virtual void set(const QString& key, const QJsonValue& value) = 0;
    virtual void remove(const QString& key) = 0;
    bool contains(const QString& key) const { return get(key).has_value(); }

    // Another program's whole settings, by its name (the former product's, for the one-time migration);
    // none when it has none or they cannot be read.
    virtual std::optional<QJsonObject> persistentDomain(const QString& name) const = 0;
};

} // namespace lumeno
