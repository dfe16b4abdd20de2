#include "foundation/AppEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lumeno {

QString AppEnvironment::supportDirectory() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString path = QDir(base).filePath(QStringLiteral("Lumeno"));
    if (!QDir(path).exists() && QDir().mkpath(path))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool AppEnvironment::isRunningTests() {
    static const bool underTests = qEnvironmentVariableIsSet("LUMENO_RUNNING_TESTS");
    return underTests;
}

} // namespace lumeno
