#include "platform/Platform.h"

#include <QtGlobal>

namespace lumeno {

PlatformKind platformKindFromEnvironment() {
    return qEnvironmentVariable("LUMENO_PLATFORM") == QLatin1String("fake") ? PlatformKind::fake
                                                                              : PlatformKind::linux;
}

} // namespace lumeno
