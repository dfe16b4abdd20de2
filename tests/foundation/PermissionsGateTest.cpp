#include "foundation/PermissionsGate.h"

#include "foundation/SettingsKeys.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeMicrophoneAuthorizer.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/ManualScheduler.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace lumeno {
namespace {

using Status = PermissionsGate::Status;
using Page = Workspace::SettingsPage;

class PermissionsGateTest : public ::testing::Test {
protected:
    PermissionsGateTest() {
        QObject::connect(gate.get(), &PermissionsGate::promptBegan, [this] { events.push_back("begin"); });
        QObject::connect(gate.get(), &PermissionsGate::promptEnded, [this] { events.push_back("end"); });
    }

    FakeDefaultsStore defaults;
    FakeMicrophoneAuthorizer microphone;
    FakeAccessibilityTrust trust;
    FakeWorkspace workspace;
    ManualClock clock;
    ManualScheduler scheduler{clock};
    std::unique_ptr<PermissionsGate> gate =
        std::make_unique<PermissionsGate>(defaults, microphone, trust, workspace, scheduler);
    std::vector<QString> events;
};

TEST_F(PermissionsGateTest, StartsUndeterminedAndRefreshNotifiesOnlyChanges) {
    EXPECT_EQ(gate->microphone(), Status::notDetermined);
    EXPECT_EQ(gate->accessibility(), Status::notDetermined);
    QSignalSpy microphoneChanged(gate.get(), &PermissionsGate::microphoneChanged);
    QSignalSpy accessibilityChanged(gate.get(), &PermissionsGate::accessibilityChanged);

    gate->refresh(); // nothing differs from the starting state
    EXPECT_EQ(microphoneChanged.count() + accessibilityChanged.count(), 0);

    microphone.setStatus(AuthorizationStatus::granted);
    gate->refresh();
    gate->refresh();
    EXPECT_EQ(microphoneChanged.count(), 1);
    EXPECT_EQ(accessibilityChanged.count(), 0);
    EXPECT_EQ(gate->status(PermissionsGate::Permission::microphone), Status::granted);

    trust.setTrusted(true);
    gate->refresh();
    EXPECT_EQ(accessibilityChanged.count(), 1);
    EXPECT_EQ(gate->status(PermissionsGate::Permission::accessibility), Status::granted);
}

TEST_F(PermissionsGateTest, AMicrophoneThatComesOrGoesByItselfIsToldWithoutARefresh) {
    QSignalSpy changed(gate.get(), &PermissionsGate::microphoneChanged);
    microphone.change(AuthorizationStatus::denied, QStringLiteral("No sound server is running yet."));
    EXPECT_EQ(gate->microphone(), Status::denied);
    EXPECT_EQ(gate->whyMicrophoneDenied(), QStringLiteral("No sound server is running yet."));
    microphone.change(AuthorizationStatus::granted);
    EXPECT_EQ(gate->microphone(), Status::granted);
    EXPECT_EQ(gate->whyMicrophoneDenied(), QString());
    EXPECT_EQ(changed.count(), 2);
    gate.reset();
    microphone.onChange(); // the gate is gone: nobody is told
}

TEST_F(PermissionsGateTest, UntrustedAccessibilityIsDeniedOnlyOnceTheUserWasAsked) {
    gate->refresh();
    EXPECT_EQ(gate->accessibility(), Status::notDetermined);
    defaults.set(SettingsKey::didPromptAccessibility, true);
    gate->refresh();
    EXPECT_EQ(gate->accessibility(), Status::denied);
}

TEST_F(PermissionsGateTest, AStoppedSoundServerIsToldAndNoSettingsPageIsOpenedForIt) {
    microphone.change(AuthorizationStatus::denied);
    QSignalSpy changed(gate.get(), &PermissionsGate::microphoneChanged);
    microphone.changeSoundServer(false, QStringLiteral("No sound server is running yet."));
    EXPECT_EQ(changed.count(), 1) << "still denied, but for a reason no settings page helps";
    EXPECT_FALSE(gate->hasSoundServer());
    EXPECT_EQ(gate->request(PermissionsGate::Permission::microphone), QStringLiteral("No sound server is running yet."));
    EXPECT_TRUE(workspace.openedPages.empty());
    microphone.changeSoundServer(true);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(gate->request(PermissionsGate::Permission::microphone), std::nullopt);
    EXPECT_EQ(workspace.openedPages, std::vector<Page>{Page::microphone});
}

TEST_F(PermissionsGateTest, ASwitchTheRequestTurnsIsTurnedOnAgainAfterTheUserTurnedItOff) {
    trust.switchesOn = true;
    defaults.set(SettingsKey::didPromptAccessibility, true);
    gate->refresh();
    EXPECT_TRUE(gate->switchesAccessibilityOn());
    EXPECT_EQ(gate->request(PermissionsGate::Permission::accessibility), std::nullopt);
    EXPECT_EQ(trust.requestCount(), 1);
    EXPECT_TRUE(workspace.openedPages.empty()) << "no settings page to go through";
    trust.answerPrompt(true);
    EXPECT_EQ(gate->accessibility(), Status::granted);
}

// A decided microphone answers at once without a prompt; a denied one opens its settings page.
TEST_F(PermissionsGateTest, ADecidedMicrophoneAnswersAtOnce) {
    for (const auto status : {AuthorizationStatus::granted, AuthorizationStatus::denied}) {
        microphone.setStatus(status);
        gate->request(PermissionsGate::Permission::microphone);
        EXPECT_EQ(gate->microphone(), status == AuthorizationStatus::granted ? Status::granted : Status::denied);
    }
    EXPECT_EQ(workspace.openedPages, std::vector<Page>{Page::microphone});
    EXPECT_EQ(microphone.requestCount(), 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(PermissionsGateTest, UndeterminedMicrophonePromptsThenSettlesForAFifthOfASecond) {
    microphone.promptAnswer = AuthorizationStatus::granted;
    QSignalSpy changed(gate.get(), &PermissionsGate::microphoneChanged);
    gate->request(PermissionsGate::Permission::microphone);

    EXPECT_EQ(events, std::vector<QString>{"begin"});
    EXPECT_EQ(microphone.promptCount(), 1);
    EXPECT_EQ(gate->microphone(), Status::notDetermined); // not re-read until the wait is over

    scheduler.advance(0.19);
    EXPECT_EQ(gate->microphone(), Status::notDetermined);
    EXPECT_EQ(events.size(), 1u);

    scheduler.advance(0.01);
    EXPECT_EQ(events, (std::vector<QString>{"begin", "end"}));
    EXPECT_EQ(gate->microphone(), Status::granted);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(workspace.openedPages.empty());
}

TEST_F(PermissionsGateTest, AMicrophonePromptAnsweredNoEndsTheHold) {
    microphone.promptAnswer = AuthorizationStatus::denied;
    gate->request(PermissionsGate::Permission::microphone);
    scheduler.advance(0.2);
    EXPECT_EQ(events, (std::vector<QString>{"begin", "end"}));
    EXPECT_EQ(gate->microphone(), Status::denied);
    EXPECT_TRUE(workspace.openedPages.empty()); // the settings page is for the next request
}

// The wait after a prompt is the gate's own: the gate gone, nothing of it is left waiting on the scheduler
// (a wait left behind outlives everything it belongs to, for good once the scheduler goes first).
TEST_F(PermissionsGateTest, AGateGoneDuringTheWaitLeavesNothingBehind) {
    gate->request(PermissionsGate::Permission::microphone);
    EXPECT_EQ(scheduler.pendingCount(), 1);
    gate.reset();
    EXPECT_EQ(scheduler.pendingCount(), 0);
    scheduler.advance(1.0);
    EXPECT_EQ(events, std::vector<QString>{"begin"});
}

TEST_F(PermissionsGateTest, AccessibilityPromptsOnceThenOpensTheSettingsPage) {
    QSignalSpy changed(gate.get(), &PermissionsGate::accessibilityChanged);
    gate->requestAccessibility();
    EXPECT_EQ(defaults.get(SettingsKey::didPromptAccessibility), QJsonValue(true));
    EXPECT_EQ(trust.requestCount(), 1);
    EXPECT_TRUE(trust.isPromptShown());
    EXPECT_EQ(events, std::vector<QString>{"begin"});

    trust.answerPrompt(false);
    EXPECT_EQ(events, (std::vector<QString>{"begin", "end"}));
    EXPECT_EQ(gate->accessibility(), Status::denied);

    gate->request(PermissionsGate::Permission::accessibility);
    EXPECT_EQ(trust.requestCount(), 1);
    EXPECT_EQ(workspace.openedPages, std::vector<Page>{Page::accessibility});
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(PermissionsGateTest, WithoutASettingsAppTheRequestSaysWhatToDoInstead) {
    workspace.canOpen = false;
    workspace.withoutTool = QStringLiteral("Install pavucontrol.");
    microphone.setStatus(Status::denied);
    EXPECT_EQ(gate->request(PermissionsGate::Permission::microphone), QStringLiteral("Install pavucontrol."));
    microphone.setStatus(Status::granted);
    EXPECT_EQ(gate->request(PermissionsGate::Permission::microphone), std::nullopt);

    // The first accessibility request is the switch itself, which needs no app; the settings page after it does.
    EXPECT_EQ(gate->request(PermissionsGate::Permission::accessibility), std::nullopt);
    trust.answerPrompt(false);
    EXPECT_EQ(gate->request(PermissionsGate::Permission::accessibility), QStringLiteral("Install pavucontrol."));
    workspace.canOpen = true;
    EXPECT_EQ(gate->request(PermissionsGate::Permission::accessibility), std::nullopt);
    EXPECT_EQ(workspace.openedPages, std::vector<Page>{Page::accessibility});
}

TEST_F(PermissionsGateTest, AnAccessibilityPromptAnsweredYesShowsGranted) {
    gate->requestAccessibility();
    trust.answerPrompt(true);
    EXPECT_EQ(gate->accessibility(), Status::granted);
}

TEST_F(PermissionsGateTest, TrustedAccessibilityAsksNothing) {
    trust.setTrusted(true);
    gate->requestAccessibility();
    EXPECT_EQ(trust.requestCount(), 0);
    EXPECT_TRUE(workspace.openedPages.empty());
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(defaults.contains(SettingsKey::didPromptAccessibility));
    EXPECT_EQ(gate->accessibility(), Status::granted);
}

} // namespace
} // namespace lumeno
