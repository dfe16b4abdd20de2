#include "shell/SetupView.h"

#include "ui/SettingsSection.h"
#include "ui/TextLabel.h"
#include "foundation/SettingsStore.h"
#include "shell/AppIcon.h"
#include "shell/PermissionsSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QEvent>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace lumeno {

namespace {
constexpr int iconSide = 56;
}

SetupView::SetupView(PermissionsGate& permissions, Scheduler& scheduler, SettingsStore& settings,
                     QWidget* parent)
    : QWidget(parent), settings_(settings) {
    setObjectName(QStringLiteral("setupView"));
    setFixedSize(fixedSize);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 26, 20, 20);
    layout->setSpacing(0);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(AppIcon::image(iconSide, devicePixelRatioF())));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    layout->addSpacing(6);
    auto* title = new TextLabel(QStringLiteral("Allow Lumeno"), this, Hierarchy::primary,
                                TypeScale::font(17, QFont::DemiBold));
    title->setObjectName(QStringLiteral("title"));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addSpacing(14);

    auto* section = new SettingsSection({}, this);
    section->addRow(new PermissionsSection(permissions, scheduler, section));
    section->setFooter(QStringLiteral("It listens and reads the screen only while you hold the key."));
    layout->addWidget(section);
    layout->addStretch(1);

    auto* footer = new QHBoxLayout;
    footer->addStretch(1);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("done"));
    done->setMinimumHeight(30);
    done->setMinimumWidth(80);
    connect(done, &QPushButton::clicked, this, [this] {
        settings_.setHasCompletedSetup(true);
        window()->close();
    });
    // Return presses Done, as in a dialog.
    for (QKeySequence key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, done, &QPushButton::click);
    footer->addWidget(done);
    layout->addLayout(footer);
    fitHeight();
}

bool SetupView::event(QEvent* event) {
    // The restart note comes and goes: the window grows to show it whole and shrinks back.
    if (event->type() == QEvent::LayoutRequest)
        fitHeight();
    return QWidget::event(event);
}

void SetupView::fitHeight() {
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(fixedSize.width())
                                                     : layout()->totalSizeHint().height();
    setFixedSize(fixedSize.width(), std::max(fixedSize.height(), needed));
}

} // namespace lumeno
