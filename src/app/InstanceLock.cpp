#include "app/InstanceLock.h"

#include <QDir>

namespace lumeno {

InstanceLock::InstanceLock(const QString& directory) : lock_(QDir(directory).filePath(QStringLiteral("lumeno.lock"))) {
    lock_.setStaleLockTime(0); // only a lock whose process is gone is stale, however old
}

bool InstanceLock::acquire() {
    return lock_.tryLock(0);
}

} // namespace lumeno
