#include "ShellFixture.h"

#include "shell/PermissionRow.h"
#include "shell/PermissionsSection.h"
#include "shell/PermissionsSettingsView.h"
#include "shell/SetupView.h"
#include "ui/ProblemLabel.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace lumeno {
namespace {

using Status = AuthorizationStatus;

class PermissionViewsTest : public ShellFixture {
protected:
    QPushButton* button(const QWidget& view, const QString& row) {
        return child<QWidget>(view, row + QStringLiteral("Row"))->findChild<QPushButton*>(QStringLiteral("request"));
    }
    QWidget* checkMark(const QWidget& view, const QString& row) {
        return child<QWidget>(view, row + QStringLiteral("Row"))->findChild<QWidget*>(QStringLiteral("granted"));
    }
};

TEST_F(PermissionViewsTest, ButtonsNameWhatPressingThemDoesAndGrantedRowsShowACheckMark) {
    microphone.setStatus(Status::notDetermined);
    PermissionsSection section(permissions, scheduler);
    section.resize(400, section.heightForWidth(400)); // as wide as in the setup window
    section.show();
    EXPECT_EQ(button(section, "microphone")->text(), "Allow");
    // The first press switches the desktop's accessibility on; once asked, its settings are the way.
    EXPECT_EQ(button(section, "accessibility")->text(), "Turn On");
    settings.setDidPromptAccessibility(true);
    scheduler.advance(1.0);
    EXPECT_EQ(button(section, "accessibility")->text(), "Open Settings…");

    microphone.setStatus(Status::denied);
    scheduler.advance(1.0);
    EXPECT_EQ(button(section, "microphone")->text(), "Open Settings…");
    shoot(section, "permissions-section-missing");

    microphone.setStatus(Status::granted);
    trust.setTrusted(true);
    scheduler.advance(1.0);
    for (const QString row : {"microphone", "accessibility"}) {
        EXPECT_FALSE(isShown(button(section, row))) << row.toStdString();
        EXPECT_TRUE(isShown(checkMark(section, row))) << row.toStdString();
        EXPECT_EQ(checkMark(section, row)->accessibleName(), "Allowed");
    }
}

TEST_F(PermissionViewsTest, PressingTheButtonsAsksTheGate) {
    trust.setTrusted(false);
    microphone.setStatus(Status::denied);
    PermissionsSection section(permissions, scheduler);
    section.show();

    QTest::mouseClick(button(section, "microphone"), Qt::LeftButton);
    scheduler.runDue();
    ASSERT_EQ(workspace.openedPages.size(), 1u);
    EXPECT_EQ(workspace.openedPages[0], Workspace::SettingsPage::microphone);

    QTest::mouseClick(button(section, "accessibility"), Qt::LeftButton);
    EXPECT_EQ(trust.requestCount(), 1);
    EXPECT_TRUE(trust.isPromptShown()); // the first request is the desktop's own prompt
}

TEST_F(PermissionViewsTest, AButtonThatCannotOpenTheSettingsSaysWhatToDoUntilTheStatusChanges) {
    trust.setTrusted(true);
    microphone.setStatus(Status::denied);
    workspace.canOpen = false;
    workspace.withoutTool = QStringLiteral("No sound settings app is installed. Install pavucontrol.");
    PermissionsSection section(permissions, scheduler);
    section.resize(400, section.heightForWidth(400));
    section.show();
    auto* instead = child<QWidget>(section, "microphoneRow")->findChild<ProblemLabel*>(QStringLiteral("instead"));
    ASSERT_NE(instead, nullptr);
    EXPECT_FALSE(isShown(instead));

    QTest::mouseClick(button(section, "microphone"), Qt::LeftButton);
    EXPECT_TRUE(isShown(instead));
    EXPECT_EQ(instead->text(), workspace.withoutTool);
    section.resize(400, section.heightForWidth(400));
    shoot(section, "permissions-section-no-sound-settings");
    scheduler.advance(1.0); // refreshed, still denied: the advice stays
    EXPECT_TRUE(isShown(instead));

    microphone.setStatus(Status::granted);
    scheduler.advance(1.0);
    EXPECT_FALSE(isShown(instead));
    // Pressed again once a settings app is there, it opens and says nothing more.
    microphone.setStatus(Status::denied);
    scheduler.advance(1.0);
    workspace.canOpen = true;
    QTest::mouseClick(button(section, "microphone"), Qt::LeftButton);
    EXPECT_FALSE(isShown(instead));
    EXPECT_EQ(workspace.openedPages, std::vector{Workspace::SettingsPage::microphone});
}

TEST_F(PermissionViewsTest, ASwitchThePressTurnsOnSaysTurnOnAndWithoutASoundServerNoButtonIsOffered) {
    trust.switchesOn = true;
    settings.setDidPromptAccessibility(true); // turned off after setup
    microphone.changeSoundServer(false, QStringLiteral("No sound server is running yet."));
    PermissionsSection section(permissions, scheduler);
    section.resize(400, section.heightForWidth(400));
    section.show();
    EXPECT_EQ(button(section, "accessibility")->text(), "Turn On");
    QTest::mouseClick(button(section, "accessibility"), Qt::LeftButton);
    EXPECT_EQ(trust.requestCount(), 1) << "pressed, it turns the switch itself";
    EXPECT_TRUE(workspace.openedPages.empty());

    auto* why = child<QWidget>(section, "microphoneRow")->findChild<ProblemLabel*>(QStringLiteral("instead"));
    EXPECT_FALSE(isShown(button(section, "microphone"))) << "no settings page can start a sound server";
    EXPECT_TRUE(isShown(why));
    EXPECT_EQ(why->text(), "No sound server is running yet.");
    section.resize(400, section.heightForWidth(400));
    shoot(section, "permissions-section-no-sound-server");

    // A server with no microphone: its settings can help now.
    microphone.changeSoundServer(true);
    EXPECT_TRUE(isShown(button(section, "microphone")));
    EXPECT_EQ(button(section, "microphone")->text(), "Open Settings…");
    EXPECT_FALSE(isShown(why));
}

TEST_F(PermissionViewsTest, RefreshesOnceASecondOnlyWhileOnScreen) {
    PermissionsSection section(permissions, scheduler);
    trust.setTrusted(true);
    scheduler.advance(5);
    EXPECT_EQ(permissions.accessibility(), Status::notDetermined) << "hidden sections never refresh";

    section.show();
    EXPECT_EQ(permissions.accessibility(), Status::granted) << "coming on screen refreshes at once";
    EXPECT_TRUE(isShown(checkMark(section, "accessibility")));

    // Granted elsewhere while the window stays open: the row follows within a second.
    microphone.setStatus(Status::granted);
    scheduler.advance(0.9);
    EXPECT_TRUE(isShown(button(section, "microphone")));
    scheduler.advance(0.1);
    EXPECT_TRUE(isShown(checkMark(section, "microphone")));

    section.hide();
    EXPECT_FALSE(section.isRefreshing());
    microphone.setStatus(Status::denied);
    scheduler.advance(3);
    EXPECT_EQ(permissions.microphone(), Status::granted);

    section.show();
    EXPECT_EQ(permissions.microphone(), Status::denied);
    EXPECT_EQ(scheduler.pendingCount(), 1) << "showing again must not leave a second refresh behind";
}

TEST_F(PermissionViewsTest, DoneOrReturnCompletesSetupAndClosesWithPermissionsStillMissing) {
    SetupView setup(permissions, scheduler, settings);
    setup.show();
    EXPECT_EQ(setup.size(), QSize(440, 330));
    shoot(setup, "setup-window-missing");

    QTest::mouseClick(child<QPushButton>(setup, "done"), Qt::LeftButton);
    EXPECT_TRUE(settings.hasCompletedSetup());
    EXPECT_FALSE(setup.isVisible());
    EXPECT_FALSE(child<PermissionsSection>(setup, "permissionsSection")->isRefreshing());

    // Return presses Done as well; shortcuts act in the active window only.
    settings.setHasCompletedSetup(false);
    setup.show();
    QApplication::setActiveWindow(&setup);
    QTest::keyClick(&setup, Qt::Key_Return);
    EXPECT_TRUE(settings.hasCompletedSetup());
    EXPECT_FALSE(setup.isVisible());
}

TEST_F(PermissionViewsTest, OnceAccessibilityIsOnOnlyTheAppsThatCannotFollowAreNamedUntilTheyQuit) {
    workspace.open = {{41, "org.gnome.evolution", "Evolution", {}}, {42, "chromium", "Chromium", {}},
                      {43, "code", "Visual Editor", {}}, {workspace.ownPid, "lumeno", "Lumeno", {}}};
    trust.readOnlyAfterRestart = {42, 43};
    SetupView setup(permissions, scheduler, settings);
    setup.show();
    auto* restart = child<QLabel>(setup, "restartNote");
    QTest::mouseClick(button(setup, "accessibility"), Qt::LeftButton);
    ASSERT_TRUE(trust.isPromptShown());
    EXPECT_FALSE(isShown(restart));

    trust.answerPrompt(true);
    EXPECT_TRUE(isShown(restart));
    EXPECT_EQ(restart->text(), "Accessibility is on. Restart the apps that were already open, so Lumeno can read "
                               "them: Chromium, Visual Editor.");
    shoot(setup, "setup-window-restart-apps");

    // Chromium started again: a new process, which joined by itself.
    workspace.open[1].pid = 52;
    scheduler.advance(1.0);
    EXPECT_EQ(restart->text(), "Accessibility is on. Restart the apps that were already open, so Lumeno can read "
                               "them: Visual Editor.");
    workspace.open.erase(workspace.open.begin() + 2);
    scheduler.advance(1.0);
    EXPECT_FALSE(isShown(restart));
}

TEST_F(PermissionViewsTest, AccessibilityThatEveryOpenAppFollowsNeedsNoRestartNote) {
    workspace.open = {{41, "org.gnome.evolution", "Evolution", {}}};
    SetupView setup(permissions, scheduler, settings);
    setup.show();
    QTest::mouseClick(button(setup, "accessibility"), Qt::LeftButton);
    trust.answerPrompt(true);
    EXPECT_EQ(permissions.accessibility(), Status::granted);
    EXPECT_FALSE(isShown(child<QLabel>(setup, "restartNote")));
    EXPECT_TRUE(permissions.appsToRestart().isEmpty());
}

TEST_F(PermissionViewsTest, PermissionsTabCarriesThePromise) {
    PermissionsSettingsView tab(permissions, scheduler);
    tab.resize(520, 230);
    tab.show();
    bool found = false;
    for (const QLabel* label : tab.findChildren<QLabel*>())
        found |= label->text() == "Lumeno never sends a message. It reads the screen only while you hold the key.";
    EXPECT_TRUE(found);
    shoot(tab, "settings-permissions-tab");
}

} // namespace
} // namespace lumeno
