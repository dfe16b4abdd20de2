#pragma once

#include "shell/UpdateWindow.h"
#include "shell/Updater.h"
#include "updates/SoftwareUpdate.h"

namespace lumeno {

// The program's own updater: the update feed named by the installed bundle, and the window that takes the
// user through an update.
class FeedUpdater final : public Updater {
public:
    explicit FeedUpdater(SoftwareUpdate::Environment environment);

    std::optional<QUrl> feedUrl() const override { return update_.feed(); }
    void checkInBackground() override;
    void checkForUpdates() override;
    void showOffer() override;

    SoftwareUpdate& update() { return update_; }
    UpdateWindow& window() { return window_; }

private:
    SoftwareUpdate update_;
    UpdateWindow window_;
    // A failure came while the window was closed, and the window has not shown it since.
    bool problemUnseen_ = false;
};

} // namespace lumeno
