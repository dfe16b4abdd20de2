#include "foundation/PermissionsGate.h"

#include "foundation/SettingsKeys.h"
#include "foundation/SettingsStore.h"
#include "platform/AccessibilityTrust.h"
#include "platform/MicrophoneAuthorizer.h"
#include "platform/Workspace.h"
#include "support/Log.h"
#include "support/Scheduler.h"

#include <QPointer>

#include <algorithm>

namespace lumeno {

namespace {

// How long the desktop's answer to a microphone prompt takes to show in the authorisation status.
constexpr double promptSettleSeconds = 0.2;

} // namespace

PermissionsGate::PermissionsGate(DefaultsStore& defaults, MicrophoneAuthorizer& microphone,
                                 AccessibilityTrust& trust, Workspace& workspace, Scheduler& scheduler,
                                 QObject* parent)
    : QObject(parent), defaults_(defaults), microphoneAuthorizer_(microphone), trust_(trust),
      workspace_(workspace), scheduler_(scheduler) {
    microphoneAuthorizer_.onChange = [this] { apply(trust_.isTrusted()); };
}

PermissionsGate::~PermissionsGate() {
    microphoneAuthorizer_.onChange = [] {};
    if (settling_)
        scheduler_.cancel(*settling_);
}

QString PermissionsGate::whyMicrophoneDenied() const {
    return microphone_ == Status::denied ? microphoneAuthorizer_.whyDenied() : QString();
}

bool PermissionsGate::hasSoundServer() const {
    return soundServer_;
}

bool PermissionsGate::switchesAccessibilityOn() const {
    return trust_.canSwitchOn();
}

PermissionsGate::Status PermissionsGate::status(Permission permission) const {
    return permission == Permission::microphone ? microphone_ : accessibility_;
}

void PermissionsGate::refresh() {
    apply(trust_.isTrusted());
    checkTrust();
    forgetRestartedApps();
}

QStringList PermissionsGate::appsToRestart() const {
    QStringList names;
    for (const RunningApplication& application : appsToRestart_)
        if (!names.contains(application.name))
            names.append(application.name);
    return names;
}

void PermissionsGate::forgetRestartedApps() {
    if (appsToRestart_.empty())
        return;
    const std::vector<RunningApplication> open = workspace_.openApplications();
    const auto quit = [&](const RunningApplication& application) {
        return std::none_of(open.begin(), open.end(),
                            [&](const RunningApplication& running) { return running.pid == application.pid; });
    };
    if (std::erase_if(appsToRestart_, quit) > 0)
        emit appsToRestartChanged();
}

QCoro::Task<> PermissionsGate::checkTrust() {
    // One question to the desktop at a time: a bus that answers slowly is not asked again meanwhile.
    if (checkingTrust_)
        co_return;
    checkingTrust_ = true;
    const QPointer<PermissionsGate> self(this);
    const bool trusted = co_await trust_.checkTrust();
    if (!self)
        co_return;
    checkingTrust_ = false;
    apply(trusted);
}

void PermissionsGate::apply(bool trusted) {
    const Status microphone = microphoneAuthorizer_.status();
    // Trust is a yes or no; "not determined" tells apart a user who has never been asked.
    const bool prompted =
        SettingsStore::load<bool>(defaults_, SettingsKey::didPromptAccessibility).value_or(false);
    const Status accessibility = trusted ? Status::granted : (prompted ? Status::denied : Status::notDetermined);
    // A sound server that stops or starts changes what can be done about a microphone still missing.
    const bool soundServer = microphoneAuthorizer_.hasSoundServer();
    if (microphone != microphone_ || soundServer != soundServer_) {
        microphone_ = microphone;
        soundServer_ = soundServer;
        emit microphoneChanged();
    }
    if (accessibility != accessibility_) {
        accessibility_ = accessibility;
        emit accessibilityChanged();
    }
}

std::optional<QString> PermissionsGate::request(Permission permission) {
    if (permission == Permission::accessibility)
        return requestAccessibility();
    refresh();
    if (microphone_ == Status::denied && !hasSoundServer())
        return whyMicrophoneDenied(); // the sound settings cannot start one
    if (microphone_ == Status::denied)
        return workspace_.openSettingsPage(Workspace::SettingsPage::microphone);
    if (microphone_ == Status::notDetermined)
        askForMicrophone(); // runs on by itself
    return std::nullopt;
}

QCoro::Task<> PermissionsGate::askForMicrophone() {
    const QPointer<PermissionsGate> self(this);
    emit promptBegan();
    co_await microphoneAuthorizer_.requestAccess();
    if (!self)
        co_return;
    // A timer the gate cancels when it goes, where a sleeping coroutine would be left suspended for good.
    settling_ = scheduler_.after(promptSettleSeconds, [this] {
        settling_.reset();
        refresh();
        emit promptEnded();
    });
}

std::optional<QString> PermissionsGate::requestAccessibility() {
    refresh();
    if (accessibility_ == Status::granted)
        return std::nullopt;
    if (SettingsStore::load<bool>(defaults_, SettingsKey::didPromptAccessibility).value_or(false) &&
        !trust_.canSwitchOn())
        return workspace_.openSettingsPage(Workspace::SettingsPage::accessibility);
    defaults_.set(SettingsKey::didPromptAccessibility, true);
    // Read before the switch: whatever starts afterwards joins by itself, and so do most that run already.
    std::vector<RunningApplication> blind;
    for (const RunningApplication& application : workspace_.openApplications())
        if (application.pid != workspace_.ownProcessId() && trust_.needsRestartToBeRead(application.pid))
            blind.push_back(application);
    emit promptBegan();
    trust_.requestTrust([self = QPointer<PermissionsGate>(this), blind] {
        if (!self)
            return;
        self->refresh();
        emit self->promptEnded();
        if (self->accessibility_ != Status::granted)
            return;
        self->appsToRestart_ = blind;
        const QStringList names = self->appsToRestart();
        Log::app.info(QStringLiteral("Accessibility switched on; apps to restart: %{public}s"),
                      {names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))});
        if (!names.isEmpty())
            emit self->appsToRestartChanged();
    });
    return std::nullopt;
}

} // namespace lumeno
