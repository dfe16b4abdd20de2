#pragma once

#include <QtGlobal>

namespace lumeno {

// Whether process `pid` runs Chromium's browser engine: Chromium itself, the browsers built on it, and
// Electron and CEF applications, whatever their executable is called. Their browser process always has an
// I/O thread named "Chrome_IOThread". False for a process that is gone or cannot be read.
bool runsChromiumEngine(qint64 pid);

} // namespace lumeno
