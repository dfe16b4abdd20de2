#include "updates/Installability.h"

namespace lumeno {

QString Installability::explanation() const {
    switch (kind) {
    case Kind::installable:
        return {};
    case Kind::packaged:
        return QStringLiteral("Lumeno was installed from a package, so your system's package manager updates it.");
    case Kind::notInstalled:
        return QStringLiteral("This copy runs from the folder it was built in, and Lumeno updates only a copy "
                              "installed with “make install”.");
    case Kind::unwritable:
        return QStringLiteral("Lumeno can't update itself here, because it can't write to the folder it's "
                              "installed in (%1). Install the new version the way you installed this one.")
            .arg(reason);
    }
    Q_UNREACHABLE();
}

QString Installability::notice() const {
    switch (kind) {
    case Kind::installable:
        return {};
    case Kind::packaged:
        return QStringLiteral("Your system's package manager updates Lumeno.");
    case Kind::notInstalled:
        return QStringLiteral("This copy runs from its build folder, which Lumeno doesn't update.");
    case Kind::unwritable:
        return QStringLiteral("Lumeno can't install it: it can't write to the folder it's installed in.");
    }
    Q_UNREACHABLE();
}

} // namespace lumeno
