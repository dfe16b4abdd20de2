#include "shell/PermissionsSection.h"

#include "shell/PermissionRow.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace lumeno {

namespace {
constexpr double refreshInterval = 1.0;
}

PermissionsSection::PermissionsSection(PermissionsGate& permissions, Scheduler& scheduler, QWidget* parent)
    : QWidget(parent), permissions_(permissions), scheduler_(scheduler) {
    setObjectName(QStringLiteral("permissionsSection"));
    using Permission = PermissionsGate::Permission;
    microphone_ = new PermissionRow(Permission::microphone, QStringLiteral("Hears you while you hold the key."),
                                    [this] { return permissions_.request(Permission::microphone); }, this);
    accessibility_ =
        new PermissionRow(Permission::accessibility,
                          QStringLiteral("Reads the thread and pastes the draft. This is your desktop's "
                                         "accessibility setting, shared by all your apps."),
                          [this] { return permissions_.request(Permission::accessibility); }, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(microphone_);
    auto* hairline = new QFrame(this);
    hairline->setFrameShape(QFrame::HLine);
    hairline->setFrameShadow(QFrame::Plain);
    hairline->setStyleSheet(QStringLiteral("color: palette(midlight);"));
    layout->addWidget(hairline);
    layout->addWidget(accessibility_);
    // Once Lumeno has switched accessibility on, which of the apps open then must start again to be read.
    restartNote_ = new QLabel(this);
    restartNote_->setObjectName(QStringLiteral("restartNote"));
    restartNote_->setWordWrap(true);
    restartNote_->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(restartNote_);

    connect(&permissions_, &PermissionsGate::microphoneChanged, this, &PermissionsSection::showStatuses);
    connect(&permissions_, &PermissionsGate::accessibilityChanged, this, &PermissionsSection::showStatuses);
    connect(&permissions_, &PermissionsGate::appsToRestartChanged, this, &PermissionsSection::showRestartNote);
    showStatuses();
    showRestartNote();
}

PermissionsSection::~PermissionsSection() {
    stopRefreshing();
}

void PermissionsSection::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    startRefreshing();
}

void PermissionsSection::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    stopRefreshing();
}

void PermissionsSection::startRefreshing() {
    stopRefreshing();
    permissions_.refresh();
    refresh_ = scheduler_.every(refreshInterval, [this] { permissions_.refresh(); });
}

void PermissionsSection::stopRefreshing() {
    if (refresh_)
        scheduler_.cancel(*refresh_);
    refresh_.reset();
}

void PermissionsSection::showRestartNote() {
    const QStringList apps = permissions_.appsToRestart();
    restartNote_->setText(QStringLiteral("Accessibility is on. Restart the apps that were already open, so Lumeno "
                                         "can read them: %1.")
                              .arg(apps.join(QStringLiteral(", "))));
    restartNote_->setVisible(!apps.isEmpty());
}

void PermissionsSection::showStatuses() {
    // Without a sound server the sound settings have no microphone to offer: the row says so instead.
    const bool helpless = permissions_.microphone() == PermissionsGate::Status::denied && !permissions_.hasSoundServer();
    microphone_->setStatus(permissions_.microphone(), {false, helpless ? permissions_.whyMicrophoneDenied() : QString()});
    accessibility_->setStatus(permissions_.accessibility(), {permissions_.switchesAccessibilityOn(), {}});
}

} // namespace lumeno
