#include "foundation/LegacyMigration.h"

#include "foundation/SettingsKeys.h"
#include "platform/DefaultsStore.h"
#include "support/AtomicFile.h"
#include "support/Log.h"

#include <QDir>
#include <QFileInfo>

namespace lumeno {

namespace {

const QStringList migratedFiles = {QStringLiteral("memory.json"), QStringLiteral("style.json"),
                                   QStringLiteral("session.json"), QStringLiteral("draft-details.jsonl")};

int copySettings(DefaultsStore& defaults, const QJsonObject& oldSettings) {
    int copied = 0;
    for (const QString& key : SettingsKey::all) {
        const auto value = oldSettings.constFind(key);
        if (value == oldSettings.constEnd() || defaults.contains(key))
            continue;
        defaults.set(key, value.value());
        ++copied;
    }
    return copied;
}

// True when the file is here now (copied, or already here, or never there to copy).
bool copyFile(const QString& from, const QString& to) {
    if (QFileInfo::exists(to))
        return true;
    const AtomicFile::ReadResult contents = AtomicFile::read(from);
    if (std::holds_alternative<AtomicFile::Missing>(contents))
        return true;
    std::optional<QString> failure;
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&contents))
        failure = unreadable->message;
    else if (!(failure = AtomicFile::makeDirectory(QFileInfo(to).absolutePath())))
        failure = AtomicFile::write(to, std::get<QByteArray>(contents));
    if (failure)
        Log::app.error(QStringLiteral("Couldn't migrate %{public}s: %{public}s"),
                       {QFileInfo(to).fileName(), *failure});
    return !failure;
}

} // namespace

void LegacyMigration::run(DefaultsStore& defaults, const std::optional<QJsonObject>& oldSettings,
                          const QString& supportBase) {
    if (defaults.get(SettingsKey::migratedFromVestrel) == QJsonValue(true))
        return;
    const int settings = oldSettings ? copySettings(defaults, *oldSettings) : 0;
    const QDir base(supportBase);
    bool allFilesIn = true;
    for (const QString& file : migratedFiles)
        allFilesIn &= copyFile(base.filePath(formerProduct + u'/' + file),
                               base.filePath(QStringLiteral("Lumeno/") + file));
    if (!allFilesIn)
        return;
    defaults.set(SettingsKey::migratedFromVestrel, true);
    Log::app.info(QStringLiteral("Migration from %{public}s done; settings copied: %{public}ld"),
                  {formerProduct, qint64(settings)});
}

} // namespace lumeno
