#include "shell/SettingsMenuBar.h"

#include "shell/MenuBar.h"

#include <QLabel>

namespace lumeno {

SettingsMenuBar::SettingsMenuBar(MenuBar& menu, QWidget* parent)
    : QMenuBar(parent), menu_(menu), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("settingsMenuBar"));
    // Not the desktop's global menu: the bar stands in for a tray, so it must be seen in the window.
    setNativeMenuBar(false);
    addMenu(&menu_.menu());
    status_->setObjectName(QStringLiteral("settingsStatusLine"));
    status_->setContentsMargins(8, 0, 10, 0);
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status_->setForegroundRole(QPalette::PlaceholderText);
    setCornerWidget(status_, Qt::TopRightCorner);
    auto follow = [this] {
        const QString line = menu_.statusLine();
        if (line != status_->text()) {
            status_->setText(line);
            // The bar places its corner widget only as it lays out its items: shown anew, it is placed again
            // at the width of the new line, instead of cutting a longer one.
            status_->hide();
            status_->show();
        }
        setVisible(!menu_.isDocked());
    };
    connect(&menu_, &MenuBar::refreshed, this, follow);
    connect(&menu_, &MenuBar::dockedChanged, this, follow);
    follow();
}

} // namespace lumeno
