// The shell over the application model: the windows the model and the loop ask for, the guide's end, and
// the way back from a permission prompt.
#include "app/LoopHarness.h"

#include "app/AppModel.h"
#include "shell/HowToPanel.h"
#include "shell/SettingsWindow.h"
#include "shell/Shell.h"
#include "shell/Updater.h"
#include "shell/WindowManager.h"

namespace lumeno {
namespace {

class ShellTest : public testing::LoopHarness {
protected:
    AppServices* services = app.get();
    std::unique_ptr<AppModel> model = std::make_unique<AppModel>(std::move(app));
    std::unique_ptr<Shell> shell =
        std::make_unique<Shell>(*model, [] { return std::unique_ptr<Updater>(); }, false);
    WindowManager& windows = shell->windows();
};

TEST_F(ShellTest, StartingWithoutAChosenLanguageShowsTheGuide) {
    model->start();
    ASSERT_NE(windows.guideWindow(), nullptr);
    EXPECT_TRUE(windows.guideWindow()->isVisible());
    EXPECT_TRUE(windows.guideSession().asksLanguage());
    EXPECT_FALSE(windows.guideSession().asksSignIn());
}

TEST_F(ShellTest, SwitchingRecordingOffWhileListeningPutsTheDiagnosticsAwayAtOnce) {
    services->settings.setShowsDraftDetails(true);
    desktop.focus(FakeScenes::chatThread(desktop).composer);
    services->loop.handle(HotkeyEvent::down(1));
    services->loop.handle(HotkeyEvent::holdBegan(1, false));
    settle();
    ASSERT_TRUE(services->listeningDebug.isVisible());

    windows.draftDetailsSwitches().setShowsDraftDetails(false);
    EXPECT_FALSE(services->listeningDebug.isVisible());
    windows.draftDetailsSwitches().setShowsDraftDetails(true);
    EXPECT_TRUE(services->listeningDebug.isVisible());
}

TEST_F(ShellTest, ReopeningBringsTheSettingsWindowForwardOnTheTabItShowedLast) {
    ASSERT_EQ(windows.settingsWindow(), nullptr);
    shell->reopen(); // never built yet: built and shown
    SettingsWindow* window = windows.settingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());

    window->select(SettingsTab::more);
    window->close();
    shell->reopen();
    EXPECT_EQ(windows.settingsWindow(), window); // the same window, not a second one
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentTab(), SettingsTab::more);
    screenshots::save(screenshots::onDesktop(*window), QStringLiteral("app-reopened-settings"));
}

TEST_F(ShellTest, FinishingTheGuideWithAccessibilityOffShowsTheTipsBesideTheSetupWindowAndSwitchesNothing) {
    trust.setTrusted(false);
    services->permissions.refresh();
    windows.showFirstRun();
    shell->finishGuide(true);
    EXPECT_TRUE(services->settings.hasSeenGuide());
    EXPECT_TRUE(services->settings.hasCompletedSetup());
    EXPECT_FALSE(windows.guideWindow()->isVisible());
    ASSERT_NE(windows.howToWindow(), nullptr);
    EXPECT_TRUE(windows.howToWindow()->isVisible());
    ASSERT_NE(windows.setupWindow(), nullptr);
    EXPECT_TRUE(windows.setupWindow()->isVisible());
    // Side by side, the tips first, neither staying on top of other windows.
    EXPECT_LT(windows.howToWindow()->geometry().left(), windows.setupWindow()->geometry().left());
    EXPECT_EQ(windows.howToWindow()->geometry().top(), windows.setupWindow()->geometry().top());
    EXPECT_FALSE(windows.setupWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(windows.howToWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Switching the desktop's accessibility is the user's press, not the guide's.
    EXPECT_EQ(trust.requestCount(), 0);
    EXPECT_EQ(services->permissions.accessibility(), AuthorizationStatus::notDetermined);
    EXPECT_FALSE(model->holdsQuit());
}

TEST_F(ShellTest, FinishingTheGuideWithAccessibilityOnShowsTheTipsAndReadiesSpeech) {
    shell->finishGuide(true);
    ASSERT_NE(windows.howToWindow(), nullptr);
    EXPECT_TRUE(windows.howToWindow()->isVisible());
    EXPECT_EQ(windows.setupWindow(), nullptr);
    settle();
    EXPECT_TRUE(log->contains(QStringLiteral("Speech model ready for en-US")));
}

TEST_F(ShellTest, TurningAccessibilityOnFromAMessageBringsBackNoWindowPutAwayBefore) {
    trust.switchesOn = true;
    trust.setTrusted(false);
    services->permissions.refresh();
    windows.showSetup();
    windows.setupWindow()->close(); // "Done" long ago
    services->overlay.model().act(OverlayAction::fixPermission(PermissionsGate::Permission::accessibility, true));
    trust.answerPrompt(true);
    EXPECT_EQ(services->permissions.accessibility(), AuthorizationStatus::granted);
    EXPECT_FALSE(windows.setupWindow()->isVisible()) << "the user was in another program's window";
}

} // namespace
} // namespace lumeno
