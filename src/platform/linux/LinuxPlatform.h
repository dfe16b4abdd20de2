#pragma once

#include "platform/Platform.h"

namespace lumeno {

// The real desktop: settings and secrets in the user's folders, the desktop's own permission switches
// and settings tools, the X server's keyboard layout.
// Secrets live in `supportDirectory`.
Platform makeLinuxPlatform(const Clock& clock, const QString& supportDirectory);

} // namespace lumeno
