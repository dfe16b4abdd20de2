#pragma once

#include <QString>

namespace lumeno {

// Whether this copy may replace its own application folder, and if not, why: only a folder installed in
// place (`make install`, or an update) that this user can write is ever replaced; a package's folder and
// the build folder never are, whoever runs the program.
struct Installability {
    enum class Kind {
        installable,
        packaged,     // a package owns the folder: the package manager updates it
        notInstalled, // the build folder, or a folder no install step put there
        unwritable,   // installed in place, but this user cannot write it or the folder holding it
    };

    Kind kind = Kind::notInstalled;
    QString reason; // unwritable: the folder and the system's words, as "/home/ada/.local/lib: Read-only file system"

    bool allowsInstall() const { return kind == Kind::installable; }
    bool operator==(const Installability&) const = default;

    // For the window: why Lumeno can't replace itself here and what the user can do; empty when it can.
    QString explanation() const;
    // For a notification: the same in one short sentence; empty when Lumeno can update itself.
    QString notice() const;
};

} // namespace lumeno
