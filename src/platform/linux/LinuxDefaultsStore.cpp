#include "platform/linux/LinuxDefaultsStore.h"

#include "support/Log.h"

#include <QDir>
#include <QStandardPaths>

namespace lumeno {

LinuxDefaultsStore::LinuxDefaultsStore(const QString& path, const Clock& clock)
    : file_(path, clock), values_(file_.load()), disk_(Log::app, QStringLiteral("Couldn't save settings: %{public}s")) {}

QString LinuxDefaultsStore::domainPath(const QString& program) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(program + QStringLiteral("/defaults.json"));
}

std::optional<QJsonValue> LinuxDefaultsStore::get(const QString& key) const {
    const auto found = values_.constFind(key);
    if (found == values_.constEnd())
        return std::nullopt;
    return found.value();
}

void LinuxDefaultsStore::set(const QString& key, const QJsonValue& value) {
    values_.insert(key, value);
    save();
}

void LinuxDefaultsStore::remove(const QString& key) {
    if (values_.contains(key)) {
        values_.remove(key);
        save();
    }
}

std::optional<QJsonObject> LinuxDefaultsStore::persistentDomain(const QString& name) const {
    return JsonObjectFile::read(domainPath(name));
}

void LinuxDefaultsStore::save() {
    // The value stays in effect for this run even when it cannot be kept for the next.
    if (const auto failed = file_.prepareSave()) {
        Log::app.error(QStringLiteral("Couldn't save settings: %{public}s"), {*failed});
        return;
    }
    disk_.save([path = file_.path(), values = values_] { return JsonObjectFile::write(path, values); });
}

} // namespace lumeno
