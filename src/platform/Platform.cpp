#include "platform/Platform.h"

#include "platform/linux/LinuxPlatform.h"

#include <QThreadPool>

namespace lumeno {

Platform::~Platform() {
    QThreadPool::globalInstance()->waitForDone();
}

Platform Platform::create(const Clock& clock, Scheduler& scheduler, const QString& supportDirectory) {
    return makeLinuxPlatform(clock, scheduler, supportDirectory);
}

} // namespace lumeno
