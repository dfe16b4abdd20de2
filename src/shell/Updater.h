#pragma once

#include "shell/UpdateOffer.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace lumeno {

// Whatever keeps the installed program up to date. Results come back through the callbacks, which do
// nothing until installed.
class Updater {
public:
    virtual ~Updater() = default;

    // The feed checked for new versions; none when this build has no feed of its own.
    virtual std::optional<QUrl> feedUrl() const = 0;
    // Looks for an update without showing anything unless one is found.
    virtual void checkInBackground() = 0;
    // The user asked: always answers on screen, even when there is nothing new.
    virtual void checkForUpdates() = 0;

    std::function<void(const QString& displayVersion, const QString& version)> onFoundUpdate =
        [](const QString&, const QString&) {};
    std::function<void()> onNoUpdate = [] {};
    // A check found an update: the menu offers it until it is withdrawn. One found in the background is
    // told by a tray notification, never by a window that could get in the way of a dictation.
    std::function<void(const UpdateOffer&)> onOffer = [](const UpdateOffer&) {};
    // The offer was installed, skipped or put away: the menu item goes.
    std::function<void()> onOfferWithdrawn = [] {};
    // The new version has started and takes over: this copy quits.
    std::function<void()> onRelaunched = [] {};
    // Something the user set going (a check, a download, an install) failed while the update window was
    // closed: a tray note tells the user, `title` and `message`.
    std::function<void(const QString& title, const QString& message)> onUnseenProblem = [](const QString&,
                                                                                            const QString&) {};

    // Shows the offer a check found, and offers it again after a failed attempt once the user has seen
    // what went wrong: a failure the user has not seen yet is shown first.
    virtual void showOffer() {}
};

} // namespace lumeno
