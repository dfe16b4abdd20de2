#pragma once

#include <QString>

namespace lumeno {

class AppEnvironment {
public:
    // ~/.local/share/Lumeno (or $XDG_DATA_HOME/Lumeno), created with mode 0700 when missing; a failure to
    // create it is ignored: the callers' own writes report it.
    static QString supportDirectory();
    // The folder that holds the support folders of this and other programs (~/.local/share); the
    // migration finds the former product's folder there.
    static QString supportBaseDirectory();
    // True under the test runner (CTest sets LUMENO_RUNNING_TESTS).
    static bool isRunningTests();
};

} // namespace lumeno
