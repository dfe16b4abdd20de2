#include "app/AppModel.h"

#include "app/AppServices.h"

#include "foundation/ReplyLanguage.h"
#include "support/Log.h"

#include <QPointer>

namespace lumeno {

AppModel::AppModel(std::unique_ptr<AppServices> services, QObject* parent)
    : QObject(parent), services_(std::move(services)), permissionPromptUntil_(QDateTime::fromSecsSinceEpoch(0, Qt::UTC)) {
    connect(&services_->permissions, &PermissionsGate::promptBegan, this, &AppModel::beginPermissionPrompt);
    connect(&services_->permissions, &PermissionsGate::promptEnded, this, &AppModel::endPermissionPrompt);
}

AppModel::~AppModel() = default;

void AppModel::start() {
    if (started_)
        return;
    started_ = true;
    const QPointer<AppModel> self(this);
    connect(&services_->loop, &ReplyLoop::drafted, this, &AppModel::setLastDraft);
    services_->connectDrafting();
    if (services_->settings.showsDraftDetails() && services_->settings.savesDraftDetails())
        services_->draftDetails.loadSaved();
    connect(&services_->hotkeys, &HotkeyService::hotkeyEvent, &services_->loop, &ReplyLoop::handle);
    connect(&services_->hotkeys, &HotkeyService::trustChanged, &services_->permissions, &PermissionsGate::refresh);
    connect(&services_->hotkeys, &HotkeyService::refusedByLayout, this, &AppModel::tellLayoutRefusal);
    chooseDefaultHotkey();
    services_->hotkeys.start(services_->settings.hotkey());
    services_->contextPacker.start();
    if (!services_->account.isSignedIn() || !services_->settings.hasChosenSpeechLanguage())
        emit firstRunNeeded();
    services_->scheduler.nextTurn([self] {
        if (self)
            self->refreshAccount();
    });
    prepareSpeech();
    logStarted();
}

QCoro::Task<> AppModel::logStarted() {
    const QPointer<AppModel> self(this);
    // Trust as the desktop answers it now, not the answer from before it was asked.
    const bool trusted = co_await services_->platform.accessibilityTrust->checkTrust();
    if (self)
        Log::app.info(QStringLiteral("Lumeno started; pasteboard access: %{public}ld; AX trusted: %{bool,public}d"),
                      {qint64(1), trusted});
}

QCoro::Task<> AppModel::refreshAccount() {
    co_await services_->account.refresh(); // handles and logs its own failures
}

void AppModel::prepareSpeech() {
    const QPointer<AppModel> self(this);
    services_->scheduler.nextTurn([self] {
        if (self)
            self->warmUpSpeech();
    });
}

QCoro::Task<> AppModel::warmUpSpeech() {
    const QPointer<AppModel> self(this);
    const QString code =
        ReplyLanguage::codeMatching(services_->settings.speechLocaleID()).value_or(QStringLiteral("en"));
    const std::vector<SpeechLocale> locales = co_await services_->speech.supportedLocales();
    if (!self)
        co_return;
    const std::optional<SpeechLocale> locale = SpeechCapture::locale(code, locales);
    if (!locale)
        co_return;
    try {
        co_await services_->speech.prepared(*locale);
    } catch (const CaptureError& error) {
        Log::speech.error(QStringLiteral("Speech model not ready: %{public}s"), {error.localizedDescription()});
    }
}

void AppModel::chooseDefaultHotkey() {
    SettingsStore& settings = services_->settings;
    if (settings.hasStoredHotkey())
        return;
    const Hotkey chosen = Hotkey::defaultFor(services_->keyboardLayout);
    if (chosen == settings.hotkey())
        return;
    // Kept, so a later layout without AltGr does not move the key under the user's fingers.
    settings.setHotkey(chosen);
    Log::hotkey.info(QStringLiteral("Right Alt types characters on this keyboard layout; the hot key is %{public}s"),
                     {chosen.displayName(services_->keyboardLayout)});
}

void AppModel::tellLayoutRefusal(const QString& why) {
    Log::hotkey.error(QStringLiteral("Hotkey unusable on this keyboard layout: %{public}s"), {why});
    if (toldLayoutRefusal_)
        return;
    toldLayoutRefusal_ = services_->loop.tell(
        OverlayMessage{OverlayMessage::Kind::error, QStringLiteral("Pick another hot key"), why,
                       OverlayAction::openSettings(SettingsTab::general)});
}

std::optional<QString> AppModel::applyHotkey(const Hotkey& hotkey) {
    SettingsStore& settings = services_->settings;
    if (hotkey == settings.hotkey())
        return std::nullopt;
    services_->hotkeys.setHotkey(hotkey);
    if (const std::optional<QString> error = services_->hotkeys.registrationError()) {
        services_->hotkeys.setHotkey(settings.hotkey());
        return error;
    }
    settings.setHotkey(hotkey);
    Log::hotkey.info(QStringLiteral("Hotkey changed to %{public}s"), {hotkey.displayName(services_->keyboardLayout)});
    return std::nullopt;
}

void AppModel::beginPermissionPrompt() {
    setPermissionPromptUntil(services_->clock.now().addMSecs(qint64(promptHoldSeconds * 1000)));
    Log::app.info(QStringLiteral("Holding quit for a permission prompt"));
}

void AppModel::endPermissionPrompt() {
    setPermissionPromptUntil(services_->clock.now().addMSecs(qint64(promptCloseHoldSeconds * 1000)));
}

bool AppModel::holdsQuit() const {
    return services_->clock.now() < permissionPromptUntil_;
}

void AppModel::prepareToQuit() {
    if (didPrepareToQuit_)
        return;
    didPrepareToQuit_ = true;
    emit quitting();
    services_->sentWatcher.stop();
    services_->loop.cancel();
    services_->hotkeys.stop();
    services_->contextPacker.stop();
    services_->overlay.hide(0);
}

bool AppModel::needsAttention() const {
    using Status = PermissionsGate::Status;
    return !services_->account.isSignedIn() || services_->permissions.microphone() != Status::granted ||
           services_->permissions.accessibility() != Status::granted;
}

QString AppModel::statusLine() const {
    using Status = PermissionsGate::Status;
    if (!services_->account.isSignedIn())
        return QStringLiteral("Sign in to reply");
    if (services_->settings.isPaused())
        return QStringLiteral("Paused");
    // The desktop's accessibility switch is read as it stands, and the desktop asks no permission for the
    // microphone: what is missing is said as it is.
    if (services_->permissions.accessibility() != Status::granted)
        return QStringLiteral("Accessibility is off");
    if (services_->permissions.microphone() != Status::granted)
        return services_->permissions.hasSoundServer() ? QStringLiteral("No microphone found")
                                                       : QStringLiteral("No sound server running");
    if (services_->hotkeys.registrationError())
        return QStringLiteral("Pick another hot key in Settings");
    return QStringLiteral("Hold ") + services_->settings.hotkey().displayName(services_->keyboardLayout) +
           QStringLiteral(" to reply");
}

void AppModel::setLastDraft(const QString& text) {
    if (lastDraft_ == text)
        return;
    lastDraft_ = text;
    emit lastDraftChanged();
}

void AppModel::setPermissionPromptUntil(const QDateTime& until) {
    if (permissionPromptUntil_ == until)
        return;
    permissionPromptUntil_ = until;
    emit permissionPromptUntilChanged();
}

} // namespace lumeno
