#include "shell/MenuBar.h"

#include "account/AccountStore.h"
#include "foundation/PermissionsGate.h"
#include "foundation/SettingsStore.h"
#include "memory/MemoryStore.h"
#include "platform/Pasteboard.h"
#include "platform/TrayWatch.h"
#include "screen/ContextPacker.h"
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
    rebuildMenu();
}

MenuBar::~MenuBar() = default;

void MenuBar::start() {
    shortcuts_ = std::make_unique<MenuShortcuts>(*menu_, [this] { rebuildMenu(); });
    connect(&s_.trayWatch, &TrayWatch::availabilityChanged, this, &MenuBar::followTray);
    followTray();
}

bool MenuBar::isDocked() const {
    return docked_;
}

void MenuBar::followTray() {
    const std::optional<bool> available = s_.trayWatch.isAvailable();
    if (!available)
        return; // still finding out
    const bool starting = !std::exchange(started_, true);
    const bool madeNow = *available && !tray_;
    if (madeNow) {
        inNotifierHost_ = s_.trayWatch.hasNotifierHost();
        makeTrayIcon();
    }
    const bool docked = tray_ && (inNotifierHost_ ? s_.trayWatch.hasNotifierHost() : s_.trayWatch.hasTrayManager());
    if (std::exchange(docked_, docked) == docked && !starting)
        return;
    if (docked) {
        if (!madeNow) {
            // Qt docks the icon again in a new tray manager by itself, but never registers it with a
            // status-notifier watcher that started again: showing it anew does both.
            tray_->hide();
            tray_->show();
        }
        Log::app.info(QStringLiteral("The icon is in the tray"));
    } else if (starting) {
        Log::app.error(QStringLiteral("This desktop has no tray; showing the settings window instead"));
        windows_.showSettings();
    } else {
        Log::app.error(QStringLiteral("The tray went away; the settings window carries the menu until one is back"));
    }
    emit dockedChanged(docked);
}

void MenuBar::makeTrayIcon() {
    tray_ = std::make_unique<QSystemTrayIcon>(this);
    tray_->setContextMenu(menu_.get());
    // The only notification is an update's: clicked, it shows the offer.
    connect(tray_.get(), &QSystemTrayIcon::messageClicked, this, [this] {
        if (offeredUpdate_)
            updates_.showOffer();
    });
    // A left click opens the same menu: the tray icon has no other use. A click soon after the last one
    // counts as a double click, and must open it too.
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            menu_->popup(QCursor::pos());
    });
    refresh();
    tray_->show();
}

MenuBarLabel::State MenuBar::labelState() const {
    return {s_.settings.isPaused(), needsAttention(), s_.memory.dueCount()};
}

void MenuBar::refresh() {
    if (tray_) {
        tray_->setIcon(MenuBarLabel::icon(labelState()));
        tray_->setToolTip(MenuBarLabel::toolTip(statusLine()));
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
    if (s_.permissions.microphone() != Status::granted || s_.permissions.accessibility() != Status::granted)
        add(QStringLiteral("Allow Permissions…"), "allowPermissions", [this] { windows_.showSetup(); });
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
}

void MenuBar::offerUpdate(const UpdateOffer& offer) {
    offeredUpdate_ = offer;
    if (tray_ && offer.announce)
        tray_->showMessage(offer.notificationTitle(), offer.notificationText(), QSystemTrayIcon::Information);
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
