#include "foundation/AppEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lumeno {

QString AppEnvironment::supportBaseDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString AppEnvironment::supportDirectory() {
    const QString path = QDir(supportBaseDirectory()).filePath(QStringLiteral("Lumeno"));
    if (!QDir(path).exists() && QDir().mkpath(path))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool AppEnvironment::isRunningTests() {
    static const bool underTests = qEnvironmentVariableIsSet("LUMENO_RUNNING_TESTS");
    return underTests;
}

} // namespace lumeno
