#include "shell/UpdateController.h"

#include "support/Log.h"

namespace lumeno {

UpdateController::UpdateController(Factory makeUpdater, bool enabled)
    : makeUpdater_(std::move(makeUpdater)), enabled_(enabled) {}

void UpdateController::start() {
    if (!enabled_ || updater_)
        return;
    updater_ = makeUpdater_();
    updater_->onFoundUpdate = [](const QString& displayVersion, const QString& version) {
        Log::app.info(QStringLiteral("Update available: %{public}s (%{public}s)"), {displayVersion, version});
    };
    updater_->onNoUpdate = [] { Log::app.info(QStringLiteral("No update in the feed")); };
    updater_->onOffer = [this](const UpdateOffer& offer) { onOffer(offer); };
    updater_->onOfferWithdrawn = [this] { onOfferWithdrawn(); };
    updater_->onRelaunched = [this] { onRelaunched(); };
    updater_->onUnseenProblem = [this](const QString& title, const QString& message) { onUnseenProblem(title, message); };
    // The address as written in the feed settings, escapes kept, so it can be pasted and compared.
    const std::optional<QUrl> feed = updater_->feedUrl();
    Log::app.info(QStringLiteral("Update feed %{public}s"),
                  {feed ? feed->toString(QUrl::FullyEncoded) : QStringLiteral("none")});
    updater_->checkInBackground();
}

void UpdateController::showOffer() {
    if (updater_)
        updater_->showOffer();
}

void UpdateController::checkForUpdates() {
    start();
    if (updater_)
        updater_->checkForUpdates();
}

} // namespace lumeno
