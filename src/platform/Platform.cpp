#include "platform/Platform.h"

#include "platform/fake/FakePlatform.h"
#include "platform/linux/LinuxPlatform.h"

#include <QThreadPool>
#include <QtGlobal>

namespace lumeno {

PlatformKind platformKindFromEnvironment() {
    return qEnvironmentVariable("LUMENO_PLATFORM") == QLatin1String("fake") ? PlatformKind::fake
                                                                            : PlatformKind::linux;
}

Platform::~Platform() {
    QThreadPool::globalInstance()->waitForDone();
}

Platform Platform::create(PlatformKind kind, const Clock& clock, Scheduler& scheduler,
                          const QString& supportDirectory) {
    return kind == PlatformKind::fake ? makeFakePlatform() : makeLinuxPlatform(clock, scheduler, supportDirectory);
}

} // namespace lumeno
