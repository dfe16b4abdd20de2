#pragma once

#include <QMenuBar>

class QLabel;

namespace lumeno {

class MenuBar;

// The tray menu where no tray shows it: a menu bar along the top of the settings window with the same menu
// under "Lumeno", and the menu's status line at its right. Shown only while the icon is not in a tray.
class SettingsMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit SettingsMenuBar(MenuBar& menu, QWidget* parent = nullptr);

private:
    MenuBar& menu_;
    QLabel* status_;
};

} // namespace lumeno
