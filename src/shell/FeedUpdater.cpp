#include "shell/FeedUpdater.h"

#include <utility>

namespace lumeno {

FeedUpdater::FeedUpdater(SoftwareUpdate::Environment environment)
    : update_(std::move(environment)), window_(update_) {
    QObject::connect(&update_, &SoftwareUpdate::foundUpdate, &window_,
                     [this](const AppcastItem& item, bool userInitiated) {
                         onFoundUpdate(item.displayVersion, item.version);
                         // A version that could not start here is shown to the user who asks, and no more.
                         if (!update_.failureOfOffer())
                             onOffer({item.displayVersion, update_.installability().notice(), !userInitiated});
                     });
    QObject::connect(&update_, &SoftwareUpdate::noUpdate, &window_, [this] { onNoUpdate(); });
    QObject::connect(&update_, &SoftwareUpdate::offerDismissed, &window_, [this] { onOfferWithdrawn(); });
    // The user closed the window on something under way: what went wrong is noted at the tray icon, and
    // kept for the window until it has shown it.
    QObject::connect(&update_, &SoftwareUpdate::failed, &window_, [this](const UpdateProblem& problem, bool userInitiated) {
        if (!userInitiated || window_.isVisible())
            return;
        problemUnseen_ = true;
        onUnseenProblem(problem.title(), problem.detail());
    });
    QObject::connect(&update_, &SoftwareUpdate::changed, &window_, [this] {
        if (update_.phase() != SoftwareUpdate::Phase::failed)
            problemUnseen_ = false;
    });
    QObject::connect(&update_, &SoftwareUpdate::relaunched, &window_, [this] {
        onOfferWithdrawn();
        window_.hide();
        onRelaunched();
    });
    // Put back at this start in place of a new version that crashed: said at once.
    if (update_.phase() == SoftwareUpdate::Phase::failed)
        window_.present();
}

void FeedUpdater::checkInBackground() {
    // The window tells of the version that could not start; the user's own check looks again.
    if (update_.phase() != SoftwareUpdate::Phase::failed)
        update_.check(false);
}

void FeedUpdater::checkForUpdates() {
    // A download or an install under way is shown as it is, not restarted.
    using Phase = SoftwareUpdate::Phase;
    const Phase phase = update_.phase();
    if (phase != Phase::downloading && phase != Phase::verifying && phase != Phase::readyToInstall &&
        phase != Phase::installing)
        update_.check(true);
    window_.present();
}

void FeedUpdater::showOffer() {
    if (!std::exchange(problemUnseen_, false))
        update_.offerAgain();
    window_.present();
}

} // namespace lumeno
