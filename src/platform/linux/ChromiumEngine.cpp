#include "platform/linux/ChromiumEngine.h"

#include <QDir>
#include <QFile>

namespace lumeno {

bool runsChromiumEngine(qint64 pid) {
    const QDir threads(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& thread : threads.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(threads.filePath(thread + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "Chrome_IOThread")
            return true;
    }
    return false;
}

} // namespace lumeno
