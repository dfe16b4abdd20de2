#pragma once

#include "platform/Platform.h"

namespace lumeno {

// The real desktop: settings and secrets in the user's folders, the desktop's own permission switches
// and settings tools, and the X server for the keyboard, the clipboard and the frontmost application.
// Secrets live in `supportDirectory`. Without a reachable X server the keyboard ports refuse and
// `unsupportedSession` says why.
Platform makeLinuxPlatform(const Clock& clock, Scheduler& scheduler, const QString& supportDirectory);

} // namespace lumeno
