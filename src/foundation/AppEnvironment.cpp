#include "foundation/AppEnvironment.h"

#include "support/AtomicFile.h"
#include "support/Log.h"

#include <QDir>
#include <QStandardPaths>

namespace lumeno {

QString AppEnvironment::supportBaseDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString AppEnvironment::supportDirectory() {
    return QDir(supportBaseDirectory()).filePath(QStringLiteral("Lumeno"));
}

std::optional<QString> AppEnvironment::prepareSupportDirectory(const QString& path) {
    if (const std::optional<QString> failure = AtomicFile::makeDirectory(path))
        return failure;
    const auto closed = AtomicFile::closeToOthers(path);
    if (const auto* failure = std::get_if<AtomicFile::Unreadable>(&closed))
        return failure->message;
    if (const uint mode = std::get<uint>(closed); mode & 077)
        Log::app.info(QStringLiteral("Made the support folder private (its mode was %{public}s)"),
                      {QString::number(mode, 8)});
    return std::nullopt;
}

bool AppEnvironment::isRunningTests() {
    static const bool underTests = qEnvironmentVariableIsSet("LUMENO_RUNNING_TESTS");
    return underTests;
}

} // namespace lumeno
