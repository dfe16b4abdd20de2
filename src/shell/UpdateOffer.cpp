#include "shell/UpdateOffer.h"

namespace lumeno {

QString UpdateOffer::menuItemText() const {
    return cannotInstall.isEmpty() ? QStringLiteral("Update to Lumeno %1…").arg(displayVersion)
                                   : QStringLiteral("Lumeno %1 Is Available…").arg(displayVersion);
}

QString UpdateOffer::notificationTitle() const {
    return QStringLiteral("Lumeno %1 is available").arg(displayVersion);
}

QString UpdateOffer::notificationText() const {
    if (!cannotInstall.isEmpty())
        return cannotInstall;
    return QStringLiteral("Click here, or choose “%1” in the Lumeno menu, to install it.").arg(menuItemText());
}

} // namespace lumeno
