// A new user on a stock desktop (accessibility off): the guide signs them in by a mailed code, switches
// accessibility on and says which open apps must start again; the first dictation then works.
#include "e2e/harness/E2eTest.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

class FirstStart : public E2eTest {
protected:
    void TearDown() override { session().accessibility().setEnabled(true); }
};

TEST_F(FirstStart, TheGuideSignsInSwitchesAccessibilityOnAndTheFirstDictationWorks) {
    session().accessibility().setEnabled(false);
    // Named to the user as the desktop's menus name it, not by its window class.
    home.installApplication(QStringLiteral("harbor-mail"), QStringLiteral("Harbor Mail"), QStringLiteral("Gtk-mail.py"));
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());
    server.setDraftAnswer(200, QJsonDocument(QJsonObject{{"text", "Thursday works."}, {"model", "test-model"}})
                                   .toJson(QJsonDocument::Compact));
    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Thursday works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> guide = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno"));
    ASSERT_TRUE(guide) << lumeno->log().toStdString();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == guide; }));

    ASSERT_TRUE(user.type(QStringLiteral("Ada Lovelace")));
    user.tap(DesktopUser::tab);
    ASSERT_TRUE(user.type(QStringLiteral("ada@example.com")));
    screenshotOnceStill(QStringLiteral("guide-filled"));
    user.tap(DesktopUser::enter);
    QString code;
    ASSERT_TRUE(waitUntil([&] { return !(code = server.codeSentTo(QStringLiteral("ada@example.com"))).isEmpty(); }))
        << "no code was mailed\n" << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("guide-code"));
    ASSERT_TRUE(user.type(code));
    user.tap(DesktopUser::enter);

    // The guide ends in the setup window: accessibility on, and the mail window named to be restarted.
    const std::optional<xcb_window_t> setup = waitForWindow(lumeno->pid(), QStringLiteral("Allow Lumeno"));
    ASSERT_TRUE(setup) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLine(QRegularExpression(QStringLiteral("Accessibility switched on; apps open before it: Harbor Mail$"))))
        << lumeno->log().toStdString();
    EXPECT_TRUE(session().accessibility().isEnabled());
    screenshotOnceDrawn(*setup, QStringLiteral("setup"));

    // Back in the mail window, the first dictation needs nothing more.
    const std::vector<xcb_window_t> mailWindows = windowsOf(mail->pid());
    ASSERT_EQ(mailWindows.size(), 1u);
    activate(mailWindows.front());
    user.press(DesktopUser::rightAlt);
    const bool played = lumeno->waitForLineContaining(QStringLiteral("The audio file has played to its end"),
                                                      patienceMs).has_value();
    user.release(DesktopUser::rightAlt);
    ASSERT_TRUE(played) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return mail->text(QStringLiteral("reply")).startsWith(QStringLiteral("Thursday works.")); }))
        << lumeno->log().toStdString();
}

} // namespace

} // namespace lumeno::e2e
