#pragma once

#include "platform/Platform.h"

namespace lumeno {

// The in-process desktop: every port a scriptable fake, nothing touches the real machine.
Platform makeFakePlatform();

} // namespace lumeno
