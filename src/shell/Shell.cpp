#include "shell/Shell.h"

#include "app/AppModel.h"
#include "app/AppServices.h"
#include "shell/AppIcon.h"
#include "shell/MenuBar.h"
#include "shell/SettingsMenuBar.h"
#include "shell/SettingsWindow.h"
#include "shell/WindowManager.h"
#include "support/Log.h"
#include "ui/WindowFront.h"

#include <QApplication>

namespace lumeno {

namespace {

WindowManager::Services windowServices(AppModel& model) {
    AppServices& s = model.services();
    return {s.clock,
            s.scheduler,
            *s.platform.defaults,
            *s.platform.screens,
            *s.platform.pasteboard,
            *s.platform.modifierState,
            s.keyboardLayout,
            s.settings,
            s.account,
            s.permissions,
            s.speech,
            s.hotkeys,
            s.memory,
            s.style,
            s.draftDetails,
            s.contextPacker,
            [&model](const Hotkey& hotkey) { return model.applyHotkey(hotkey); }};
}

MenuBar::Services menuServices(AppServices& s) {
    return {s.settings, s.memory, s.account, s.permissions, *s.platform.pasteboard, s.contextPacker,
            *s.platform.trayWatch, s.scheduler};
}

} // namespace

Shell::Shell(AppModel& model, UpdateController::Factory makeUpdater, bool updatesEnabled, QObject* parent)
    : QObject(parent),
      model_(model),
      updates_(std::move(makeUpdater), updatesEnabled),
      windows_(std::make_unique<WindowManager>(windowServices(model))),
      menu_(std::make_unique<MenuBar>(menuServices(model.services()), *windows_, updates_)) {
    // Every window, the updater's included, takes the program's icon from here.
    QApplication::setWindowIcon(AppIcon::icon());
    AppServices& services = model.services();
    connect(&model, &AppModel::firstRunNeeded, windows_.get(), &WindowManager::showFirstRun);
    connect(&model, &AppModel::quitting, windows_.get(), &WindowManager::keepPendingEdits);
    connect(windows_.get(), &WindowManager::guideFinished, this, [this] { finishGuide(true); });
    connect(windows_.get(), &WindowManager::speechLanguageChosen, &model, &AppModel::prepareSpeech);
    // Without a tray, the settings window carries the tray's menu.
    connect(windows_.get(), &WindowManager::settingsWindowBuilt, menu_.get(),
            [this](SettingsWindow& window) { window.setMenuBar(new SettingsMenuBar(*menu_)); });
    connect(&services.permissions, &PermissionsGate::promptBegan, this, &Shell::rememberWindowBehindPrompt);
    connect(&services.permissions, &PermissionsGate::promptEnded, this, &Shell::returnFromPrompt);

    ReplyLoop& loop = services.loop;
    connect(&loop, &ReplyLoop::settingsRequested, windows_.get(), [this](SettingsTab tab) { windows_->showSettings(tab); });
    connect(&loop, &ReplyLoop::draftDetailsRequested, windows_.get(), &WindowManager::showDraftDetails);
    connect(&loop, &ReplyLoop::firstRunRequested, windows_.get(), &WindowManager::showFirstRun);
    // "Record each reply" switched from the debug window or the More tab updates the diagnostics at once.
    connect(&windows_->draftDetailsSwitches(), &DraftDetailsSwitches::recordingSwitched, &loop,
            &ReplyLoop::refreshListeningDebug);

    menu_->statusLine = [&model] { return model.statusLine(); };
    menu_->needsAttention = [&model] { return model.needsAttention(); };
    menu_->lastDraft = [&model] { return model.lastDraft(); };
    connect(&model, &AppModel::lastDraftChanged, menu_.get(), &MenuBar::refresh);
    updates_.onOffer = [this](const UpdateOffer& offer) { menu_->offerUpdate(offer); };
    updates_.onOfferWithdrawn = [this] { menu_->withdrawUpdateOffer(); };
    updates_.onRelaunched = [this] { emit replacedByUpdate(); };
    updates_.onUnseenProblem = [this](const QString& title, const QString& message) {
        menu_->noteUpdateProblem(title, message);
    };
}

Shell::~Shell() = default;

void Shell::start() {
    updates_.start();
    menu_->start();
}

void Shell::reopen() {
    windows_->showSettings();
}

void Shell::finishGuide(bool showTips) {
    AppServices& services = model_.services();
    services.settings.setHasSeenGuide(true);
    services.settings.setHasCompletedSetup(true);
    windows_->putAwayFirstRun();
    // A desktop whose accessibility is off (most, out of the box) shows Lumeno no field. Switching it is the
    // user's call, as it changes the whole desktop: the setup window offers it, beside the tips.
    const bool asksAccessibility = services.permissions.accessibility() != PermissionsGate::Status::granted;
    if (showTips) {
        if (asksAccessibility)
            windows_->showTipsBesideSetup();
        else
            windows_->showHowToPopups();
        model_.prepareSpeech();
    } else if (asksAccessibility) {
        windows_->showSetup();
    }
}

void Shell::rememberWindowBehindPrompt() {
    if (!windowBehindPrompt_)
        windowBehindPrompt_ = QApplication::activeWindow();
}

void Shell::returnFromPrompt() {
    // A setup window put away earlier stays away: the request may have come from a message of the overlay.
    QWidget* setup = windows_->setupWindow();
    QWidget* window = windowBehindPrompt_ ? windowBehindPrompt_.data() : setup && setup->isVisible() ? setup : nullptr;
    windowBehindPrompt_.clear();
    if (window)
        bringToFront(*window);
    Log::app.info(QStringLiteral("Permission prompt closed; returned to the same window"));
}

} // namespace lumeno
