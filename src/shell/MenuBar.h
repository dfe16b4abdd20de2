#pragma once

#include "platform/TrayWatch.h"
#include "shell/MenuBarLabel.h"
#include "shell/UpdateOffer.h"
#include "support/Scheduler.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace lumeno {

class AccountStore;
class ContextPacker;
class EmbeddedTrayIcon;
class MemoryStore;
class Pasteboard;
class PermissionsGate;
class MenuShortcuts;
class SettingsStore;
class UpdateController;
class WindowManager;

// The program's only permanent surface: the tray icon and its menu. The menu is rebuilt each time it opens,
// so it always shows the current status, and the icon follows the stores it reads. The icon docks whenever
// a tray of either kind runs, at the start or later, again after the tray restarts or another takes its
// place; while none holds it, the settings window carries the same menu.
class MenuBar : public QObject {
    Q_OBJECT
public:
    // How long a tray that went away has to come back (a panel restarting) before the settings window takes
    // over the menu; the icon counts as docked meanwhile.
    static constexpr double trayReturnSeconds = 8;

    // What the menu shows and changes.
    struct Services {
        SettingsStore& settings;
        MemoryStore& memory;
        AccountStore& account;
        PermissionsGate& permissions;
        Pasteboard& pasteboard;
        ContextPacker& contextPacker;
        TrayWatch& trayWatch;
        Scheduler& scheduler;
    };

    MenuBar(Services services, WindowManager& windows, UpdateController& updates, QObject* parent = nullptr);
    ~MenuBar() override;

    // What the application model knows; each answers nothing until installed.
    std::function<QString()> statusLine = [] { return QString(); };
    std::function<bool()> needsAttention = [] { return false; };
    std::function<std::optional<QString>()> lastDraft = [] { return std::optional<QString>(); };

    // Shows the tray icon, now or once a tray appears, and makes the menu's shortcuts work. A desktop
    // without a tray at the start gets the settings window instead, which carries the menu (and comes back
    // when Lumeno is started a second time); so does a tray that goes away while no window is open.
    void start();
    // Whether the icon is in a tray now, or its tray went away only a moment ago.
    bool isDocked() const;
    // Draws the icon again; the application model calls it when its status changes.
    void refresh();

    MenuBarLabel::State labelState() const;
    QMenu& menu() { return *menu_; }
    // Fills the menu for the current state, as opening it does.
    void rebuildMenu();
    // A check found an update: a menu item shows it until withdrawn, and the tray notification that
    // announces one found in the background shows it when clicked.
    void offerUpdate(const UpdateOffer& offer);
    void withdrawUpdateOffer();
    // An update failed while its window was closed: a note at the icon says so and, clicked, shows the
    // update's window with the failure.
    void noteUpdateProblem(const QString& title, const QString& message);

signals:
    // "Quit Lumeno" was chosen.
    void quitRequested();
    // A tray took the icon, or the last one went away.
    void dockedChanged(bool docked);
    // The status line or the icon may have changed.
    void refreshed();

private:
    // Where the icon is: in a tray manager (our own window), with a status-notifier host (Qt's icon), or
    // nowhere.
    enum class Place { none, trayManager, notifierHost };

    void copyLastDraft();
    void followTray(std::optional<TrayWatch::Kind> changed);
    // Takes `docked` as where the icon stands, and brings up the settings window where it must.
    void settle(bool docked, bool starting);
    void stopWaitingForTray();
    void showIn(Place place);
    void makeTrayIcon();
    void copyForHost();
    void makeEmbeddedIcon();
    void popUpMenu(QPoint where);
    void showOfferedUpdate();
    // A note at the icon, in whichever kind of tray holds it.
    void showNote(const QString& title, const QString& message, QSystemTrayIcon::MessageIcon kind);

    Services s_;
    WindowManager& windows_;
    UpdateController& updates_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QMenu> hostMenu_; // outlives the icon that hands it to the host
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<EmbeddedTrayIcon> embedded_;
    std::optional<UpdateOffer> offeredUpdate_;
    bool problemNoted_ = false; // a note told of a failed update: clicked, it shows the failure
    std::unique_ptr<MenuShortcuts> shortcuts_;
    // Whether the tray had been looked for once: only a desktop without one at the start opens a window.
    bool started_ = false;
    bool docked_ = false;
    std::optional<Scheduler::TimerId> trayReturn_; // the wait for a tray that went away
    Place place_ = Place::none;
};

} // namespace lumeno
