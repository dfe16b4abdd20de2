#pragma once

#include <QObject>
#include <functional>

class QAction;
class QKeyEvent;
class QMenu;

namespace lumeno {

// The shortcuts the tray menu shows work where the user is: in the open menu, and in every window of the
// program. A press is matched against the menu as it stands now (rebuilt first when it is not open), so an
// item that is not shown (Debug Window… with draft details off) has no shortcut either. A control that
// records keys (the hot-key picker) watches the keyboard after this and keeps its keys.
class MenuShortcuts : public QObject {
    Q_OBJECT
public:
    // `rebuild` fills `menu` for the current state.
    MenuShortcuts(QMenu& menu, std::function<void()> rebuild, QObject* parent = nullptr);
    ~MenuShortcuts() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* itemFor(const QKeyEvent& key);

    QMenu& menu_;
    std::function<void()> rebuild_;
};

} // namespace lumeno
