#pragma once

#include <QString>

namespace lumeno {

class AppEnvironment {
public:
    // ~/.local/share/Lumeno (or $XDG_DATA_HOME/Lumeno), created with mode 0700 when missing; a failure to
    // create it is ignored: the callers' own writes report it.
    static QString supportDirectory();
    // True under the test runner (CTest sets LUMENO_RUNNING_TESTS).
    static bool isRunningTests();
};

} // namespace lumeno
