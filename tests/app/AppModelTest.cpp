// The application model: the quit hold around permission prompts, the status line, applying a hot key,
// starting and preparing to quit.
#include "LoopHarness.h"

#include "app/AppModel.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"

#include <QCoroTask>
#include <QSignalSpy>

namespace lumeno {
namespace {

class AppModelTest : public testing::LoopHarness {
protected:
    AppServices* services = app.get();
    std::unique_ptr<AppModel> model = std::make_unique<AppModel>(std::move(app));
};

TEST_F(AppModelTest, APermissionPromptHoldsQuittingUntilThreeSecondsAfterItClosed) {
    EXPECT_FALSE(model->holdsQuit());
    model->beginPermissionPrompt();
    clock.advance(44);
    EXPECT_TRUE(model->holdsQuit());
    model->beginPermissionPrompt(); // a second prompt holds 45 s from its own start
    clock.advance(10);
    EXPECT_TRUE(model->holdsQuit());
    model->endPermissionPrompt();
    clock.advance(2.9);
    EXPECT_TRUE(model->holdsQuit());
    clock.advance(0.2);
    EXPECT_FALSE(model->holdsQuit());
}

TEST_F(AppModelTest, TheMicrophonePromptOfTheGateHoldsQuitting) {
    micPermission.setStatus(AuthorizationStatus::notDetermined);
    services->permissions.request(PermissionsGate::Permission::microphone);
    settle();
    EXPECT_TRUE(model->holdsQuit());
    EXPECT_TRUE(log->contains(QStringLiteral("Holding quit for a permission prompt")));
}

TEST_F(AppModelTest, TheStatusLineNamesTheFirstThingInTheWay) {
    EXPECT_EQ(model->statusLine(), QStringLiteral("Hold Right Alt to reply"));
    EXPECT_FALSE(model->needsAttention());
    // What is missing, said as it is: a sound server, else a microphone; the accessibility switch first.
    micPermission.changeSoundServer(false);
    EXPECT_EQ(model->statusLine(), QStringLiteral("No sound server running"));
    micPermission.changeSoundServer(true);
    EXPECT_EQ(model->statusLine(), QStringLiteral("No microphone found"));
    EXPECT_TRUE(model->needsAttention());
    trust.setTrusted(false);
    services->permissions.refresh();
    EXPECT_EQ(model->statusLine(), QStringLiteral("Accessibility is off"));
    services->settings.setPaused(true);
    EXPECT_EQ(model->statusLine(), QStringLiteral("Paused"));
    QCoro::waitFor(services->account.signOut());
    EXPECT_EQ(model->statusLine(), QStringLiteral("Sign in to reply"));
    EXPECT_TRUE(model->needsAttention());
}

TEST_F(AppModelTest, AHotKeyTheDesktopRefusesLeavesTheOldOneWorking) {
    model->start();
    const KeyCombo combo{49, 0x100000 | 0x20000};
    keyboard.refuse({combo.keyCode, combo.modifiers}, GlobalHotkeys::Refusal::taken);
    EXPECT_NE(model->applyHotkey(Hotkey::combo(combo)), std::nullopt);
    EXPECT_EQ(services->settings.hotkey(), Hotkey());
    EXPECT_EQ(services->hotkeys.hotkey(), Hotkey()); // the old key is registered again

    const KeyCombo free{49, 0x40000 | 0x80000};
    EXPECT_EQ(model->applyHotkey(Hotkey::combo(free)), std::nullopt);
    EXPECT_EQ(services->settings.hotkey(), Hotkey::combo(free));
    EXPECT_TRUE(log->contains(QStringLiteral("Hotkey changed to Ctrl+Alt+Space")));
}

FakeKeyboardLayoutSource& layoutOf(Platform& platform) {
    return static_cast<FakeKeyboardLayoutSource&>(*platform.keyboardLayout);
}

TEST_F(AppModelTest, ANewUserOnALayoutWithAltGrStartsWithRightCtrlAndKeepsIt) {
    layoutOf(platform).setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    model->start();
    EXPECT_EQ(services->settings.hotkey(), Hotkey::modifier(ModifierKey::rightControl));
    EXPECT_EQ(platform.defaults->get("hotkey"), QJsonValue(QJsonObject{{"modifier", "rightControl"}}))
        << "stored in the values the settings file always held";
    EXPECT_EQ(services->hotkeys.registrationError(), std::nullopt);
    EXPECT_EQ(model->statusLine(), QStringLiteral("Hold Right Ctrl to reply"));
    EXPECT_FALSE(services->overlay.isVisible()) << "nothing to tell: the key works";
    EXPECT_TRUE(log->contains(
        QStringLiteral("Right Alt types characters on this keyboard layout; the hot key is Right Ctrl")));
}

TEST_F(AppModelTest, ANewUserOnAUsLayoutKeepsRightAltUnstored) {
    model->start();
    EXPECT_EQ(services->settings.hotkey(), Hotkey::modifier(ModifierKey::rightOption));
    EXPECT_FALSE(services->settings.hasStoredHotkey());
}

TEST_F(AppModelTest, ASavedRightAltThatBecameAltGrIsToldOnceWithThePickerOneClickAway) {
    services->settings.setHotkey(Hotkey::modifier(ModifierKey::rightCommand));
    services->settings.setHotkey(Hotkey::modifier(ModifierKey::rightOption)); // stored by the user
    model->start();
    ASSERT_FALSE(services->overlay.isVisible());

    layoutOf(platform).setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    EXPECT_EQ(services->settings.hotkey(), Hotkey::modifier(ModifierKey::rightOption)) << "the user's choice stays";
    ASSERT_TRUE(services->overlay.isVisible());
    const std::optional<OverlayMessage> message = services->overlay.model().message();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->title, QStringLiteral("Pick another hot key"));
    EXPECT_EQ(message->detail, QStringLiteral("On this keyboard layout Right Alt is AltGr: it types characters such "
                                              "as @ and €, so it can't be the hot key. Pick another key."));
    EXPECT_EQ(message->action, OverlayAction::openSettings(SettingsTab::general));
    EXPECT_EQ(model->statusLine(), QStringLiteral("Pick another hot key in Settings"));

    // AltGr+Q while the message shows: nothing listens.
    keyboard.press(VirtualKey::rightOption);
    keyboard.tap(VirtualKey::ansiQ);
    keyboard.release(VirtualKey::rightOption);
    settle();
    EXPECT_FALSE(services->loop.phase().isListening());

    layoutOf(platform).setLayout(FakeKeyboardLayoutSource::usLayout());
    layoutOf(platform).setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    const QStringList lines = log->lines();
    EXPECT_EQ(lines.count(QStringLiteral("Overlay message: Pick another hot key")), 1) << "told once a run";
    EXPECT_EQ(lines.filter(QStringLiteral("Hotkey unusable on this keyboard layout")).size(), 2)
        << "the log has every time";
}

TEST_F(AppModelTest, StartingRoutesTheHotKeyIntoTheLoopAndQuittingStopsEverythingOnce) {
    services->settings.setHasChosenSpeechLanguage(true);
    QSignalSpy firstRun(model.get(), &AppModel::firstRunNeeded);
    model->start();
    settle();
    EXPECT_EQ(firstRun.count(), 0); // signed in with a language: no guide

    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Will do."));
    keyboard.press(VirtualKey::rightOption);
    advance(0.6);
    ASSERT_TRUE(services->loop.phase().isListening());
    say(QStringLiteral("say will do"));
    keyboard.release(VirtualKey::rightOption);
    advance(3);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Will do."));
    EXPECT_EQ(model->lastDraft(), QStringLiteral("Will do."));

    model->prepareToQuit();
    model->prepareToQuit();
    EXPECT_TRUE(model->didPrepareToQuit());
    EXPECT_FALSE(services->hotkeys.isStarted());
    EXPECT_EQ(services->contextPacker.timer(), std::nullopt);
}

} // namespace
} // namespace lumeno
