#pragma once

#include "platform/AuthorizationStatus.h"
#include "platform/Workspace.h"
#include "support/Scheduler.h"

#include <QCoroTask>
#include <QObject>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace lumeno {

class AccessibilityTrust;
class DefaultsStore;
class MicrophoneAuthorizer;

// The two permissions the program needs, their observed states, and the ways to ask for them: the desktop's
// own prompt the first time, its settings page after that.
class PermissionsGate : public QObject {
    Q_OBJECT
public:
    enum class Permission { microphone, accessibility };
    using Status = AuthorizationStatus;
    // In the order the permission views show them.
    static constexpr std::array<Permission, 2> permissions = {Permission::microphone,
                                                              Permission::accessibility};

    // Both statuses start as not determined until the first refresh().
    PermissionsGate(DefaultsStore& defaults, MicrophoneAuthorizer& microphone, AccessibilityTrust& trust,
                    Workspace& workspace, Scheduler& scheduler, QObject* parent = nullptr);
    ~PermissionsGate() override;

    Status microphone() const { return microphone_; }
    Status accessibility() const { return accessibility_; }
    Status status(Permission permission) const;
    // While the microphone is denied, why, when the desktop knows better than "no microphone"; else empty.
    QString whyMicrophoneDenied() const;
    // Whether the desktop's sound server runs; without one no settings page helps the microphone.
    bool hasSoundServer() const;
    // Whether asking for accessibility turns it on there and then (the desktop's own switch), however often
    // it has been asked or turned off since.
    bool switchesAccessibilityOn() const;

    // Re-reads both statuses without waiting: trust as the desktop last answered, then again once it
    // answers anew (the signals tell of a change).
    void refresh();
    // Returns at once; the microphone request carries on by itself. Granted: nothing. Denied: opens the
    // microphone settings, or, with no sound server to set up, says why. Not determined: asks the desktop,
    // waits 0.2 s for the answer to settle, re-reads the statuses. None, or what the user can do instead
    // when the settings page could not be opened.
    std::optional<QString> request(Permission permission);
    // Granted: nothing. Where the request is the switch itself, turns it on; otherwise the desktop's prompt
    // the first time ever, its settings page after that. None, or what the user can do instead when the
    // settings page could not be opened.
    std::optional<QString> requestAccessibility();
    // The applications that had windows open when this program switched accessibility on and show their
    // fields only once restarted, by name, as long as they run on. Empty when there are none, or
    // accessibility was on already.
    QStringList appsToRestart() const;

signals:
    // Just before a desktop permission prompt shows, and once it has been answered: the application holds
    // its quit while the prompt is up.
    void promptBegan();
    void promptEnded();
    // The microphone's status, or whether a sound server runs, changed.
    void microphoneChanged();
    void accessibilityChanged();
    void appsToRestartChanged();

private:
    QCoro::Task<> askForMicrophone();
    QCoro::Task<> checkTrust();
    // Takes the microphone's status and `trusted`, telling observers of what changed.
    void apply(bool trusted);
    // Forgets the applications to restart that have quit since.
    void forgetRestartedApps();

    DefaultsStore& defaults_;
    MicrophoneAuthorizer& microphoneAuthorizer_;
    AccessibilityTrust& trust_;
    Workspace& workspace_;
    Scheduler& scheduler_;
    Status microphone_ = Status::notDetermined;
    Status accessibility_ = Status::notDetermined;
    bool soundServer_ = true;
    bool checkingTrust_ = false;
    std::optional<Scheduler::TimerId> settling_; // the wait after a microphone prompt
    std::vector<RunningApplication> appsToRestart_;
};

} // namespace lumeno
