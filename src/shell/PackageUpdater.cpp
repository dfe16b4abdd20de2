#include "shell/PackageUpdater.h"

#include "shell/AppIcon.h"

#include <QMessageBox>
#include <QPixmap>

namespace lumeno {

PackageUpdater::PackageUpdater(QString installedVersion) : installedVersion_(std::move(installedVersion)) {}

QString PackageUpdater::explanation() {
    return QStringLiteral("Lumeno is updated with your system's packages. Use your system's software updater "
                          "to get the latest version.");
}

void PackageUpdater::checkForUpdates() {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Check for Updates"),
                                QStringLiteral("You have Lumeno %1.").arg(installedVersion_), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("updatesMessage"));
    box->setIconPixmap(QPixmap::fromImage(AppIcon::image(56, box->devicePixelRatioF())));
    box->setInformativeText(explanation());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    box->raise();
    box->activateWindow();
}

} // namespace lumeno
