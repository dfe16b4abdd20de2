#include "shell/MenuBar.h"

#include "account/AccountStore.h"
#include "foundation/PermissionsGate.h"
#include "foundation/SettingsStore.h"
#include "memory/MemoryStore.h"
#include "platform/Pasteboard.h"
#include "platform/TrayWatch.h"
#include "screen/ContextPacker.h"
#include "shell/EmbeddedTrayIcon.h"
#include "shell/MenuShortcuts.h"
#include "shell/UpdateController.h"
#include "shell/WindowManager.h"
#include "support/Log.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace lumeno {

MenuBar::MenuBar(Services services, WindowManager& windows, UpdateController& updates, QObject* parent)
    : QObject(parent), s_(services), windows_(windows), updates_(updates), menu_(std::make_unique<QMenu>()) {
    menu_->setObjectName(QStringLiteral("menuBarMenu"));
    menu_->setTitle(QStringLiteral("Lumeno"));
    connect(menu_.get(), &QMenu::aboutToShow, this, &MenuBar::rebuildMenu);
    connect(&s_.settings, &SettingsStore::isPausedChanged, this, &MenuBar::refresh);
    connect(&s_.memory, &MemoryStore::changed, this, &MenuBar::refresh);
    connect(&s_.account, &AccountStore::isSignedInChanged, this, &MenuBar::refresh);
    connect(&s_.permissions, &PermissionsGate::microphoneChanged, this, &MenuBar::refresh);
    connect(&s_.permissions, &PermissionsGate::accessibilityChanged, this, &MenuBar::refresh);
    connect(&s_.settings, &SettingsStore::hotkeyChanged, this, &MenuBar::refresh);
    connect(&s_.settings, &SettingsStore::showsDraftDetailsChanged, this, &MenuBar::refresh);
    rebuildMenu();
}

MenuBar::~MenuBar() {
    stopWaitingForTray();
}

void MenuBar::start() {
    shortcuts_ = std::make_unique<MenuShortcuts>(*menu_, [this] { rebuildMenu(); });
    connect(&s_.trayWatch, &TrayWatch::changed, this, &MenuBar::followTray);
    followTray(std::nullopt);
}

bool MenuBar::isDocked() const {
    return docked_;
}

// Where both kinds run (XFCE's notification area), the icon goes to the status-notifier host, as Qt's would.
void MenuBar::followTray(std::optional<TrayWatch::Kind> changed) {
    using Kind = TrayWatch::Kind;
    const std::optional<bool> manager = s_.trayWatch.has(Kind::trayManager);
    const std::optional<bool> host = s_.trayWatch.has(Kind::notifierHost);
    if (!manager || !host)
        return; // still finding out: the icon must go where it can be seen
    const Place place = *host ? Place::notifierHost : *manager ? Place::trayManager : Place::none;
    // The tray holding the icon restarted, or another program's took its place: it must be shown anew.
    const bool renewed = changed && place != Place::none
                         && *changed == (place == Place::trayManager ? Kind::trayManager : Kind::notifierHost);
    if (std::exchange(place_, place) != place || renewed)
        showIn(place);

    const bool starting = !std::exchange(started_, true);
    const bool docked = place != Place::none;
    if (docked && trayReturn_) {
        stopWaitingForTray();
        Log::app.info(QStringLiteral("The tray came back in time"));
    }
    if (starting || (docked && !docked_)) {
        settle(docked, starting);
    } else if (!docked && docked_ && !trayReturn_) {
        // A panel restarting takes its tray with it for a moment: a window brought up meanwhile would stay
        // on the screen after the icon is back.
        Log::app.info(QStringLiteral("The tray went away; waiting for it to come back"));
        trayReturn_ = s_.scheduler.after(trayReturnSeconds, [this] {
            trayReturn_.reset();
            settle(false, false);
        });
    }
}

void MenuBar::stopWaitingForTray() {
    if (trayReturn_)
        s_.scheduler.cancel(*std::exchange(trayReturn_, std::nullopt));
}

void MenuBar::settle(bool docked, bool starting) {
    docked_ = docked;
    if (docked) {
        Log::app.info(QStringLiteral("The icon is in the tray"));
    } else if (starting) {
        Log::app.error(QStringLiteral("This desktop has no tray; showing the settings window instead"));
        windows_.showSettings();
    } else {
        Log::app.error(QStringLiteral("The tray went away; the settings window carries the menu until one is back"));
        // With no window open nothing of the program would be left on the screen.
        if (!windows_.isAnyWindowShown())
            windows_.showSettings();
    }
    emit dockedChanged(docked);
}

void MenuBar::showIn(Place place) {
    if (place != Place::trayManager && embedded_)
        embedded_->withdraw();
    if (place != Place::notifierHost && tray_)
        tray_->hide();
    if (place == Place::trayManager) {
        if (!embedded_)
            makeEmbeddedIcon();
        embedded_->dock();
    } else if (place == Place::notifierHost) {
        // Made only while a host runs, Qt's icon is a status-notifier item for the whole run; it registers
        // again by itself with a watcher that starts again (shown anew as well, it would show twice).
        if (!tray_)
            makeTrayIcon();
        tray_->show();
    }
}

void MenuBar::makeTrayIcon() {
    tray_ = std::make_unique<QSystemTrayIcon>(this);
    hostMenu_ = std::make_unique<QMenu>();
    hostMenu_->setObjectName(QStringLiteral("hostMenu"));
    connect(hostMenu_.get(), &QMenu::aboutToShow, this, &MenuBar::rebuildMenu);
    copyForHost();
    tray_->setContextMenu(hostMenu_.get());
    connect(tray_.get(), &QSystemTrayIcon::messageClicked, this, &MenuBar::showOfferedUpdate);
    // A left click opens the program's own menu: the tray icon has no other use. A click soon after the last
    // one counts as a double click, and must open it too.
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            popUpMenu(QCursor::pos());
    });
    refresh();
}

// The copy a status-notifier host draws on a right click: the same items, without their shortcuts. The
// host has the keyboard while its copy is open, so they would do nothing there, and it would write them in
// its own words (or drop them).
void MenuBar::copyForHost() {
    hostMenu_->clear();
    for (QAction* item : menu_->actions()) {
        if (item->isSeparator()) {
            hostMenu_->addSeparator();
            continue;
        }
        QAction* copy = hostMenu_->addAction(item->text());
        copy->setEnabled(item->isEnabled());
        copy->setCheckable(item->isCheckable());
        copy->setChecked(item->isChecked());
        connect(copy, &QAction::triggered, item, &QAction::trigger);
    }
}

void MenuBar::makeEmbeddedIcon() {
    embedded_ = std::make_unique<EmbeddedTrayIcon>(s_.trayWatch, s_.scheduler);
    connect(embedded_.get(), &EmbeddedTrayIcon::pressed, this, &MenuBar::popUpMenu);
    connect(embedded_.get(), &EmbeddedTrayIcon::messageClicked, this, &MenuBar::showOfferedUpdate);
    refresh();
}

void MenuBar::popUpMenu(QPoint where) {
    // The user came to the icon: a note beside it has done its work, and would cover the menu.
    if (embedded_)
        embedded_->hideMessage();
    menu_->popup(where);
}

MenuBarLabel::State MenuBar::labelState() const {
    return {s_.settings.isPaused(), needsAttention(), s_.memory.dueCount()};
}

void MenuBar::refresh() {
    // A status-notifier host reads its copy before it says the menu opens, and sizes the menu to what it read:
    // a copy left behind would open taller than its items. Kept current, it opens as it stands.
    if (!menu_->isVisible())
        rebuildMenu();
    const QIcon icon = MenuBarLabel::icon(labelState());
    if (tray_) {
        tray_->setIcon(icon);
        tray_->setToolTip(MenuBarLabel::toolTip(statusLine()));
    }
    if (embedded_) {
        embedded_->setIcon(icon);
        embedded_->setToolTip(MenuBarLabel::toolTip(statusLine()));
    }
    emit refreshed();
}

void MenuBar::rebuildMenu() {
    menu_->clear();
    auto add = [this](const QString& text, const char* name, auto action, const QKeySequence& keys = {}) {
        QAction* item = menu_->addAction(text);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcut(keys);
        connect(item, &QAction::triggered, this, action);
        return item;
    };

    QAction* status = menu_->addAction(statusLine());
    status->setObjectName(QStringLiteral("statusLine"));
    status->setEnabled(false);
    if (!s_.account.isSignedIn())
        add(QStringLiteral("Sign In…"), "signIn", [this] { windows_.showFirstRun(); });
    using Status = PermissionsGate::Status;
    // A missing microphone is no permission here: the setup window says what it lacks.
    if (s_.permissions.accessibility() != Status::granted)
        add(QStringLiteral("Allow Permissions…"), "allowPermissions", [this] { windows_.showSetup(); });
    else if (s_.permissions.microphone() != Status::granted)
        add(QStringLiteral("Set Up Microphone…"), "allowPermissions", [this] { windows_.showSetup(); });
    menu_->addSeparator();

    if (lastDraft())
        add(QStringLiteral("Copy Last Draft"), "copyLastDraft", [this] { copyLastDraft(); });
    QAction* pause = add(QStringLiteral("Pause"), "pause", [this](bool on) { s_.settings.setPaused(on); });
    pause->setCheckable(true);
    pause->setChecked(s_.settings.isPaused());
    menu_->addSeparator();

    const int due = s_.memory.dueCount();
    add(due > 0 ? QStringLiteral("Memory (%1 due)…").arg(due) : QStringLiteral("Memory…"), "memory",
        [this] { windows_.showMemory(); }, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    if (s_.settings.showsDraftDetails())
        add(QStringLiteral("Debug Window…"), "debugWindow", [this] { windows_.showDraftDetails(); },
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    add(QStringLiteral("How to Use"), "howToUse", [this] { windows_.showHowToPopups(); });
    menu_->addSeparator();

    if (offeredUpdate_)
        add(offeredUpdate_->menuItemText(), "updateOffer", [this] { updates_.showOffer(); });
    add(QStringLiteral("Check for Updates…"), "checkForUpdates", [this] { updates_.checkForUpdates(); });
    add(QStringLiteral("Settings…"), "settings", [this] { windows_.showSettings(); },
        QKeySequence(Qt::CTRL | Qt::Key_Comma));
    menu_->addSeparator();
    add(QStringLiteral("Quit Lumeno"), "quit", &MenuBar::quitRequested, QKeySequence(Qt::CTRL | Qt::Key_Q));
    if (hostMenu_)
        copyForHost();
}

void MenuBar::offerUpdate(const UpdateOffer& offer) {
    offeredUpdate_ = offer;
    if (offer.announce)
        showNote(offer.notificationTitle(), offer.notificationText(), QSystemTrayIcon::Information);
}

void MenuBar::noteUpdateProblem(const QString& title, const QString& message) {
    problemNoted_ = true;
    showNote(title, message, QSystemTrayIcon::Warning);
}

void MenuBar::showNote(const QString& title, const QString& message, QSystemTrayIcon::MessageIcon kind) {
    if (place_ == Place::notifierHost)
        tray_->showMessage(title, message, kind);
    else if (place_ == Place::trayManager)
        embedded_->showMessage(title, message);
}

// The only notifications are an update's: clicked, they show the offer, or what went wrong with it.
void MenuBar::showOfferedUpdate() {
    if (offeredUpdate_ || std::exchange(problemNoted_, false))
        updates_.showOffer();
}

void MenuBar::withdrawUpdateOffer() {
    offeredUpdate_.reset();
}

void MenuBar::copyLastDraft() {
    const std::optional<QString> draft = lastDraft();
    if (!draft)
        return;
    Pasteboard& pasteboard = s_.pasteboard;
    if (!pasteboard.write(PasteboardContents::plain(*draft)))
        return;
    // Our own copy, not the user's: the next dictation must not take it as context.
    s_.contextPacker.noteOwnChange(pasteboard.changeCount(), false);
}

} // namespace lumeno
