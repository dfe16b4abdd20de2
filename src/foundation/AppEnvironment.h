#pragma once

#include <QString>

#include <optional>

namespace lumeno {

class AppEnvironment {
public:
    // ~/.local/share/Lumeno (or $XDG_DATA_HOME/Lumeno).
    static QString supportDirectory();
    // Makes sure the support folder `path` exists and is the user's alone: created with mode 0700 when
    // missing; an existing one loses every right of group and others (it holds mail, drafts and the
    // session) but keeps the owner's as the user set them. Once at start; none when it is ready, else why
    // not, for the user.
    static std::optional<QString> prepareSupportDirectory(const QString& path);
    // The folder that holds the support folders of this and other programs (~/.local/share); the
    // migration finds the former product's folder there.
    static QString supportBaseDirectory();
    // True under the test runner (CTest sets LUMENO_RUNNING_TESTS).
    static bool isRunningTests();
};

} // namespace lumeno
