#pragma once

#include "shell/Updater.h"

class QWidget;

namespace lumeno {

// On Linux the program comes from the system's packages, which the system's own updater keeps current:
// there is no feed to watch, so a background check has nothing to do and the user's check says where
// updates come from and which version is installed.
class PackageUpdater final : public Updater {
public:
    explicit PackageUpdater(QString installedVersion);

    std::optional<QUrl> feedUrl() const override { return std::nullopt; }
    void checkInBackground() override {}
    void checkForUpdates() override;

    static QString explanation();

private:
    QString installedVersion_;
};

} // namespace lumeno
