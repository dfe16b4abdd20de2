#pragma once

#include "shell/MenuBarLabel.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QSystemTrayIcon;

namespace lumeno {

class AccountStore;
class ContextPacker;
class MemoryStore;
class Pasteboard;
class PermissionsGate;
class SettingsStore;
class UpdateController;
class WindowManager;

// The program's only permanent surface: the tray icon and its menu. The menu is rebuilt each time it opens,
// so it always shows the current status, and the icon follows the stores it reads.
class MenuBar : public QObject {
    Q_OBJECT
public:
    // What the menu shows and changes.
    struct Services {
        SettingsStore& settings;
        MemoryStore& memory;
        AccountStore& account;
        PermissionsGate& permissions;
        Pasteboard& pasteboard;
        ContextPacker& contextPacker;
    };

    MenuBar(Services services, WindowManager& windows, UpdateController& updates, QObject* parent = nullptr);
    ~MenuBar() override;

    // What the application model knows; each answers nothing until installed.
    std::function<QString()> statusLine = [] { return QString(); };
    std::function<bool()> needsAttention = [] { return false; };
    std::function<std::optional<QString>()> lastDraft = [] { return std::optional<QString>(); };

    // Shows the tray icon. A desktop without a tray cannot show the menu, so the settings window opens
    // instead (reachable again by starting Lumeno a second time); returns whether the tray is there.
    bool start();
    // Draws the icon again; the application model calls it when its status changes.
    void refresh();

    MenuBarLabel::State labelState() const;
    QMenu& menu() { return *menu_; }
    // Fills the menu for the current state, as opening it does.
    void rebuildMenu();
    // A background check found an update: a tray notification, and a menu item that shows it, until
    // withdrawn.
    void offerUpdate(const QString& displayVersion);
    void withdrawUpdateOffer();

signals:
    // "Quit Lumeno" was chosen.
    void quitRequested();

private:
    void copyLastDraft();

    Services s_;
    WindowManager& windows_;
    UpdateController& updates_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::optional<QString> offeredUpdate_; // the display version offered in the menu
};

} // namespace lumeno
