#pragma once

#include "shell/Updater.h"

#include <functional>
#include <memory>

namespace lumeno {

// Owns the updater: nothing exists until start(), which makes it once and checks in the background;
// "Check for Updates…" starts it if needed and asks for a check the user sees. Under the test runner it
// never starts, so no test ever talks to an update service.
class UpdateController {
public:
    using Factory = std::function<std::unique_ptr<Updater>()>;

    explicit UpdateController(Factory makeUpdater, bool enabled);

    void start();
    void checkForUpdates();
    // Shows the update a check found, or first what went wrong with it while its window was closed.
    void showOffer();
    Updater* updater() const { return updater_.get(); }

    // Passed on from the updater once it exists (see Updater).
    std::function<void(const UpdateOffer&)> onOffer = [](const UpdateOffer&) {};
    std::function<void()> onOfferWithdrawn = [] {};
    std::function<void()> onRelaunched = [] {};
    std::function<void(const QString& title, const QString& message)> onUnseenProblem = [](const QString&,
                                                                                            const QString&) {};

private:
    Factory makeUpdater_;
    bool enabled_;
    std::unique_ptr<Updater> updater_;
};

} // namespace lumeno
