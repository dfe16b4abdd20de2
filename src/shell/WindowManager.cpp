#include "shell/WindowManager.h"

#include "account/AccountSettingsView.h"
#include "account/AccountStore.h"
#include "foundation/SettingsStore.h"
#include "details/DraftDetailsWindow.h"
#include "drafting/StyleSettingsView.h"
#include "memory/ui/ExportLocationChooser.h"
#include "memory/ui/MemoryView.h"
#include "memory/ui/MemoryWindow.h"
#include "shell/FixedWindow.h"
#include "shell/GeneralSettingsView.h"
#include "shell/GuideClose.h"
#include "shell/HowToPanel.h"
#include "shell/MoreSettingsView.h"
#include "shell/OnboardingView.h"
#include "shell/PermissionsSettingsView.h"
#include "shell/SettingsWindow.h"
#include "shell/SetupView.h"
#include "support/Text.h"
#include "ui/ScreenFit.h"
#include "ui/WindowCloseKeys.h"
#include "ui/WindowFront.h"
#include "voice/HotkeyService.h"

#include <algorithm>
#include <QGuiApplication>
#include <QScreen>

namespace lumeno {

namespace {

void centre(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

// A name of only spaces or tabs is no name.
bool isBlankName(const QString& name) {
    for (QChar c : name)
        if (c != u' ' && c != u'\t')
            return false;
    return true;
}

} // namespace

WindowManager::WindowManager(Services services, QObject* parent)
    : QObject(parent), s_(std::move(services)), howToSession_(s_.clock.now()), switches_(s_.settings, s_.draftDetails),
      copier_(s_.pasteboard, s_.contextPacker) {
    connect(&switches_, &DraftDetailsSwitches::draftDetailsWanted, this, &WindowManager::showDraftDetails);
}

WindowManager::~WindowManager() = default;

bool WindowManager::isAnyWindowShown() const {
    const std::initializer_list<const QWidget*> windows{setupWindow_.get(), settingsWindow_.get(), memoryWindow_.get(),
                                                        draftDetailsWindow_.get(), guideWindow_.get(), howToWindow_.get()};
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) { return window && window->isVisible(); });
}

QWidget* WindowManager::setupWindow() const {
    return setupWindow_.get();
}

QWidget* WindowManager::guideWindow() const {
    return guideWindow_.get();
}

void WindowManager::showFirstRun() {
    const bool signedIn = s_.account.isSignedIn();
    guideSession_.setAsksSignIn(!signedIn);
    const QString name = s_.account.session() ? s_.account.session()->user.name : QString();
    guideSession_.setAsksName(!signedIn || isBlankName(name));
    guideSession_.setAsksLanguage(!s_.settings.hasChosenSpeechLanguage());
    // Something must be asked: a user with nothing missing is asked the language again.
    if (!guideSession_.asksName() && !guideSession_.asksSignIn() && !guideSession_.asksLanguage())
        guideSession_.setAsksLanguage(true);
    guideSession_.setIsWelcome(!s_.settings.hasSeenGuide());
    guideSession_.advanceGeneration();

    const bool building = !guideWindow_;
    if (building)
        buildGuideWindow();
    // The new generation has rebuilt the form for what is asked now.
    guideWindow_->fitWindow();
    if (building)
        centre(*guideWindow_);
    bringToFront(*guideWindow_);
}

void WindowManager::buildGuideWindow() {
    FirstRunForm::Services services{s_.account, s_.settings, s_.speech, AnimationClock{s_.scheduler, s_.clock}};
    guideWindow_ = std::make_unique<OnboardingView>(guideSession_, services);
    connect(guideWindow_.get(), &OnboardingView::done, this, &WindowManager::guideFinished);
    connect(guideWindow_.get(), &OnboardingView::speechLanguageChosen, this, &WindowManager::speechLanguageChosen);
    makeFixedWindow(*guideWindow_);
    guideWindow_->setWindowTitle(QStringLiteral("Lumeno"));
    // Closing the guide while signed in counts as having been through it; signed out, it will be back.
    new GuideClose(*guideWindow_, [this] {
        if (!s_.account.isSignedIn())
            return;
        s_.settings.setHasSeenGuide(true);
        s_.settings.setHasCompletedSetup(true);
    });
}

void WindowManager::keepPendingEdits() {
    // The other windows store every change as it is made.
    if (memoryWindow_)
        memoryWindow_->view()->keepPendingEdits();
}

void WindowManager::putAwayFirstRun() {
    if (guideWindow_)
        guideWindow_->hide();
    if (setupWindow_)
        setupWindow_->close();
}

void WindowManager::showSetup() {
    if (!setupWindow_)
        buildSetupWindow();
    bringToFront(*setupWindow_);
}

void WindowManager::buildSetupWindow() {
    setupWindow_ = std::make_unique<SetupView>(s_.permissions, s_.scheduler, s_.settings);
    makeFixedWindow(*setupWindow_);
    setupWindow_->setWindowTitle(QStringLiteral("Allow Lumeno"));
    centre(*setupWindow_);
}

void WindowManager::showTipsBesideSetup() {
    if (!howToWindow_)
        buildHowToWindow();
    if (!setupWindow_)
        buildSetupWindow();
    ScreenFit::placeSideBySide(*howToWindow_, *setupWindow_, s_.screens);
    // The setup window takes the keyboard: it asks for something before the tips can work. The tips come up
    // without it; asked to activate both at once, the window manager can leave either one in front.
    startHowToOver();
    howToWindow_->setAttribute(Qt::WA_ShowWithoutActivating);
    howToWindow_->show();
    howToWindow_->setAttribute(Qt::WA_ShowWithoutActivating, false);
    showSetup();
}

void WindowManager::showMemory() {
    if (!memoryWindow_) {
        memoryWindow_ = std::make_unique<MemoryWindow>(s_.memory, s_.defaults, s_.screens,
                                                       s_.scheduler);
        closeOnStandardKeys(*memoryWindow_);
    }
    memoryWindow_->present();
}

void WindowManager::showDraftDetails() {
    if (!draftDetailsWindow_) {
        draftDetailsWindow_ = std::make_unique<DraftDetailsWindow>(
            DraftDetailsView::Services{s_.draftDetails, s_.settings, s_.memory, switches_, copier_, s_.keyboardLayout},
            s_.defaults, s_.screens, s_.scheduler);
        connect(&draftDetailsWindow_->view(), &DraftDetailsView::settingsRequested, this,
                [this] { showSettings(SettingsTab::general); });
        closeOnStandardKeys(*draftDetailsWindow_);
    }
    draftDetailsWindow_->front();
}

void WindowManager::showHowToPopups() {
    startHowToOver();
    bringToFront(*howToWindow_);
}

void WindowManager::startHowToOver() {
    // Every opening starts the guide over, at its first page with its demonstration from the beginning.
    howToSession_.setPage(0);
    howToSession_.setPageStart(s_.clock.now());
    if (!howToWindow_)
        buildHowToWindow();
}

void WindowManager::buildHowToWindow() {
    howToWindow_ = std::make_unique<HowToPanel>(
        howToSession_, HowToView::Services{s_.settings, s_.keyboardLayout, s_.modifierState,
                                           AnimationClock{s_.scheduler, s_.clock}});
    connect(&howToWindow_->view(), &HowToView::done, howToWindow_.get(), &QWidget::close);
    closeOnStandardKeys(*howToWindow_);
    centre(*howToWindow_);
}

void WindowManager::showSettings(std::optional<SettingsTab> tab) {
    if (!settingsWindow_)
        buildSettingsWindow();
    if (tab)
        settingsWindow_->select(*tab);
    bringToFront(*settingsWindow_);
}

void WindowManager::buildSettingsWindow() {
    settingsWindow_ = std::make_unique<SettingsWindow>([this](SettingsTab tab) { return settingsContent(tab); }, s_.screens);
    makeFixedWindow(*settingsWindow_);
    closeOnStandardKeys(*settingsWindow_);
    emit settingsWindowBuilt(*settingsWindow_);
    centre(*settingsWindow_);
}

QWidget* WindowManager::settingsContent(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general:
        return new GeneralSettingsView(
            s_.settings, s_.keyboardLayout, s_.applyHotkey,
            [this](ModifierKey key) { return s_.hotkeys.refusal(key); },
            [this] { return s_.hotkeys.editRegistrationError(); });
    case SettingsTab::account:
        return new AccountSettingsView(s_.account);
    case SettingsTab::more: {
        auto* more = new MoreSettingsView(s_.settings, s_.style);
        connect(more, &MoreSettingsView::draftDetailsRequested, this, &WindowManager::showDraftDetails);
        connect(more, &MoreSettingsView::showsDraftDetailsToggled, &switches_, &DraftDetailsSwitches::setShowsDraftDetails);
        connect(more, &MoreSettingsView::savesDraftDetailsToggled, &switches_, &DraftDetailsSwitches::setSavesDraftDetails);
        return more;
    }
    case SettingsTab::style:
        return new StyleSettingsView(s_.style);
    case SettingsTab::permissions:
        return new PermissionsSettingsView(s_.permissions, s_.scheduler);
    }
    Q_UNREACHABLE();
}

} // namespace lumeno
