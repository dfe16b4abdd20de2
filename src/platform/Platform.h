#pragma once

#include <QString>

namespace lumeno {

// Which set of operating-system ports the program runs on, chosen once at start from LUMENO_PLATFORM.
enum class PlatformKind { linux, fake };

PlatformKind platformKindFromEnvironment();

} // namespace lumeno
