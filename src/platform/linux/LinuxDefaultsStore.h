#pragma once

#include "platform/DefaultsStore.h"
#include "platform/linux/JsonObjectFile.h"
#include "support/FileWriter.h"

namespace lumeno {

// Settings in ~/.config/<program>/defaults.json, a JSON object keeping each value's type (an INI file
// would turn every flag into text). Read once; every change has the file rewritten whole off the main thread.
class LinuxDefaultsStore final : public DefaultsStore {
public:
    LinuxDefaultsStore(const QString& path, const Clock& clock);

    // Where a program's settings file lives: $XDG_CONFIG_HOME/<program>/defaults.json.
    static QString domainPath(const QString& program);

    std::optional<QJsonValue> get(const QString& key) const override;
    void set(const QString& key, const QJsonValue& value) override;
    void remove(const QString& key) override;
    std::optional<QJsonObject> persistentDomain(const QString& name) const override;
    // Waits until what was saved so far is on disk.
    void finishDiskWork() { disk_.finish(); }

private:
    void save();

    JsonObjectFile file_;
    QJsonObject values_;
    FileWriter disk_;
};

} // namespace lumeno
