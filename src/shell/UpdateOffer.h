#pragma once

#include <QString>

namespace lumeno {

// An update the tray offers, from when a check finds it until it is installed, skipped or withdrawn.
struct UpdateOffer {
    QString displayVersion;
    // Empty when this copy can install the update itself; else why not, in one sentence (the window that
    // the menu item opens says more).
    QString cannotInstall;
    // Found by a background check: a notification tells of it. The user's own check shows its window.
    bool announce = false;

    // The menu item that opens the offer: it promises an update only where the window can install one.
    QString menuItemText() const;
    QString notificationTitle() const;
    QString notificationText() const;
};

} // namespace lumeno
