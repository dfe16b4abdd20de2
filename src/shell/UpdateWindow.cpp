#include "shell/UpdateWindow.h"

#include "foundation/ServerAddress.h"
#include "shell/AppIcon.h"
#include "support/Log.h"
#include "ui/WindowFront.h"
#include "updates/SoftwareUpdate.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace lumeno {

namespace {

constexpr int windowWidth = 560;

QString dataSize(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString releaseNotes(const AppcastItem& item) {
    if (!item.description.isEmpty())
        return item.description;
    if (item.releaseNotesLink.isValid())
        return QStringLiteral("<a href=\"%1\">Read the release notes</a>").arg(item.releaseNotesLink.toString().toHtmlEscaped());
    return QStringLiteral("<i>This version comes without release notes.</i>");
}

} // namespace

UpdateWindow::UpdateWindow(SoftwareUpdate& update, QWidget* parent)
    : QWidget(parent, Qt::Window), update_(update), title_(new QLabel), detail_(new QLabel),
      notesHeading_(new QLabel(QStringLiteral("Release Notes:"))), notes_(new QTextBrowser),
      progress_(new QProgressBar), progressText_(new QLabel), secondary_(new QPushButton),
      cancel_(new QPushButton), primary_(new QPushButton) {
    setObjectName(QStringLiteral("updateWindow"));
    setWindowTitle(QStringLiteral("Software Update"));
    setWindowIcon(AppIcon::icon());
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* icon = new QLabel;
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(AppIcon::image(int(64 * ratio), ratio));
    pixmap.setDevicePixelRatio(ratio);
    icon->setPixmap(pixmap);
    icon->setAlignment(Qt::AlignTop);

    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    title_->setFont(bold);
    title_->setObjectName(QStringLiteral("updateTitle"));
    title_->setWordWrap(true);
    detail_->setObjectName(QStringLiteral("updateDetail"));
    detail_->setWordWrap(true);
    notesHeading_->setFont([&] { QFont f = detail_->font(); f.setBold(true); return f; }());
    notes_->setObjectName(QStringLiteral("releaseNotes"));
    // The notes come from the feed: a link is opened only where a download could come from (https, or
    // this machine), never followed inside the window.
    notes_->setOpenLinks(false);
    notes_->setMinimumHeight(180);
    progress_->setTextVisible(false);
    progressText_->setObjectName(QStringLiteral("progressText"));
    secondary_->setObjectName(QStringLiteral("updateSecondary"));
    cancel_->setObjectName(QStringLiteral("updateCancel"));
    primary_->setObjectName(QStringLiteral("updatePrimary"));
    primary_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(secondary_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(primary_);

    auto* column = new QVBoxLayout;
    column->addWidget(title_);
    column->addWidget(detail_);
    column->addSpacing(6);
    column->addWidget(notesHeading_);
    column->addWidget(notes_, 1);
    column->addWidget(progress_);
    column->addWidget(progressText_);
    column->addStretch();
    // Apart from the release notes even when a long explanation squeezes them.
    column->addSpacing(10);
    column->addLayout(buttons);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(20, 20, 20, 16);
    row->setSpacing(16);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(column, 1);

    connect(secondary_, &QPushButton::clicked, this, &UpdateWindow::secondaryClicked);
    connect(cancel_, &QPushButton::clicked, this, &UpdateWindow::cancelClicked);
    connect(primary_, &QPushButton::clicked, this, &UpdateWindow::primaryClicked);
    connect(notes_, &QTextBrowser::anchorClicked, this, &UpdateWindow::openNotesLink);
    connect(&update_, &SoftwareUpdate::changed, this, &UpdateWindow::refresh);
    connect(&update_, &SoftwareUpdate::progress, this, &UpdateWindow::showProgress);
    refresh();
}

void UpdateWindow::present() {
    refresh();
    bringToFront(*this);
}

void UpdateWindow::openNotesLink(const QUrl& url) {
    if (ServerAddress::isAccepted(url))
        QDesktopServices::openUrl(url);
    else
        Log::app.info(QStringLiteral("Release notes link not opened: %{public}s"), {url.toString()});
}

void UpdateWindow::setButtons(const QString& secondary, const QString& cancel, const QString& primary) {
    secondary_->setText(secondary);
    secondary_->setVisible(!secondary.isEmpty());
    cancel_->setText(cancel);
    cancel_->setVisible(!cancel.isEmpty());
    primary_->setText(primary);
    primary_->setVisible(!primary.isEmpty());
}

void UpdateWindow::showProgress(qint64 received, qint64 total) {
    progress_->setRange(0, 1000);
    progress_->setValue(total > 0 ? int(received * 1000 / total) : 0);
    progressText_->setText(QStringLiteral("%1 of %2").arg(dataSize(received), dataSize(total)));
}

void UpdateWindow::refresh() {
    using Phase = SoftwareUpdate::Phase;
    const std::optional<AppcastItem>& item = update_.item();
    const bool offering = update_.phase() == Phase::available && item;
    const bool working = update_.phase() == Phase::checking || update_.phase() == Phase::downloading ||
                         update_.phase() == Phase::verifying || update_.phase() == Phase::readyToInstall ||
                         update_.phase() == Phase::installing;
    notesHeading_->setVisible(offering);
    notes_->setVisible(offering);
    progress_->setVisible(working);
    progressText_->setVisible(update_.phase() == Phase::downloading);
    detail_->setVisible(true);
    primary_->setEnabled(true);
    switch (update_.phase()) {
    case Phase::idle:
    case Phase::checking:
        title_->setText(QStringLiteral("Checking for updates…"));
        detail_->setVisible(false);
        progress_->setRange(0, 0);
        setButtons({}, QStringLiteral("Cancel"), {});
        break;
    case Phase::upToDate:
        title_->setText(QStringLiteral("You're up to date!"));
        detail_->setText(QStringLiteral("Lumeno %1 is currently the newest version available.")
                             .arg(update_.bundle().displayVersion));
        setButtons({}, {}, QStringLiteral("OK"));
        break;
    case Phase::noFeed:
        if (update_.installability().kind == Installability::Kind::packaged) {
            title_->setText(QStringLiteral("Your system's package manager updates Lumeno."));
            detail_->setText(QStringLiteral("Lumeno %1 was installed from a package. Use your system's software "
                                            "updater to get newer versions.")
                                 .arg(update_.bundle().displayVersion));
        } else {
            title_->setText(QStringLiteral("This copy of Lumeno doesn't check for updates."));
            detail_->setText(QStringLiteral("You have Lumeno %1. To get a newer version, install it the same way you "
                                            "installed this one.")
                                 .arg(update_.bundle().displayVersion));
        }
        setButtons({}, {}, QStringLiteral("OK"));
        break;
    case Phase::available:
        if (!item)
            break;
        title_->setText(QStringLiteral("A new version of Lumeno is available!"));
        if (update_.canInstall()) {
            const std::optional<FailedUpdate> failure = update_.failureOfOffer();
            detail_->setText(failure ? QStringLiteral("Lumeno %1 couldn't start on this computer when it was installed "
                                                      "before: %2. You have Lumeno %3. Would you like to try it again?")
                                           .arg(item->displayVersion, failure->reason, update_.bundle().displayVersion)
                                     : QStringLiteral("Lumeno %1 is now available—you have %2. Would you like to "
                                                      "install it now?")
                                           .arg(item->displayVersion, update_.bundle().displayVersion));
            setButtons(QStringLiteral("Skip This Version"), QStringLiteral("Remind Me Later"),
                       QStringLiteral("Install Update"));
        } else {
            detail_->setText(QStringLiteral("Lumeno %1 is now available—you have %2. %3")
                                 .arg(item->displayVersion, update_.bundle().displayVersion,
                                      update_.installability().explanation()));
            setButtons(QStringLiteral("Skip This Version"), {}, QStringLiteral("Remind Me Later"));
        }
        notes_->setHtml(releaseNotes(*item));
        break;
    case Phase::downloading:
        title_->setText(QStringLiteral("Downloading update…"));
        detail_->setText(item ? QStringLiteral("Lumeno %1").arg(item->displayVersion) : QString());
        showProgress(update_.receivedBytes(), item ? item->enclosure.length : 0);
        setButtons({}, QStringLiteral("Cancel"), {});
        break;
    case Phase::verifying:
        title_->setText(QStringLiteral("Verifying update…"));
        detail_->setText(QStringLiteral("Checking the download's signature and unpacking it."));
        progress_->setRange(0, 0);
        setButtons({}, QStringLiteral("Cancel"), {});
        break;
    case Phase::readyToInstall:
        title_->setText(QStringLiteral("Ready to Install"));
        detail_->setText(QStringLiteral("Lumeno %1 is ready. Lumeno will quit and open again.")
                             .arg(item ? item->displayVersion : QString()));
        progress_->setRange(0, 1);
        progress_->setValue(1);
        setButtons({}, QStringLiteral("Cancel"), QStringLiteral("Install and Relaunch"));
        break;
    case Phase::installing:
        title_->setText(QStringLiteral("Installing update…"));
        detail_->setVisible(false);
        progress_->setRange(0, 0);
        setButtons({}, {}, {});
        break;
    case Phase::failed:
        title_->setText(update_.problem() ? update_.problem()->title() : QString());
        detail_->setText(update_.problem() ? update_.problem()->detail() : QString());
        setButtons({}, {}, QStringLiteral("OK"));
        break;
    }
    // One width for every step, so the window grows or shrinks downward and never jumps sideways.
    adjustSize();
    const int needed = std::max(sizeHint().height(), heightForWidth(windowWidth));
    // The offer keeps its height unless a long explanation leaves the notes less than their smallest.
    const int neededWithSmallestNotes = needed - notes_->sizeHint().height() + notes_->minimumHeight();
    resize(windowWidth, offering ? std::max(380, neededWithSmallestNotes) : needed);
}

void UpdateWindow::secondaryClicked() {
    update_.skipThisVersion();
    hide();
}

void UpdateWindow::cancelClicked() {
    // Remind Me Later only puts the window away; the offer stays in the tray menu.
    if (update_.phase() != SoftwareUpdate::Phase::available)
        update_.cancel();
    hide();
}

void UpdateWindow::primaryClicked() {
    switch (update_.phase()) {
    case SoftwareUpdate::Phase::available:
        if (update_.canInstall())
            update_.installUpdate();
        else
            hide();
        break;
    case SoftwareUpdate::Phase::readyToInstall:
        update_.installAndRelaunch();
        break;
    default:
        hide();
    }
}

} // namespace lumeno
