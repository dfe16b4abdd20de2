// A new user on a stock desktop (accessibility off): the guide signs them in by a mailed code and ends in
// the how-to popups, with the setup window beside them. The desktop's accessibility is switched on only
// by the user's press, the note names only the open apps that must start again, and the first dictation
// then works in a GTK window that was open all along.
#include "e2e/harness/E2eTest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace lumeno::e2e {

namespace {

using desktop::AccessibleTargets;
using desktop::DesktopUser;

class FirstStart : public E2eTest {
protected:
    void TearDown() override { session().accessibility().setEnabled(true); }

    // The how-to panel of process `pid`: the one window of its size.
    std::optional<xcb_window_t> howToPanel(qint64 pid) {
        for (const xcb_window_t window : windowsOf(pid))
            if (isViewable(window) && geometryOf(window).size() == QSize(400, 486))
                return window;
        return std::nullopt;
    }
};

TEST_F(FirstStart, TheGuideEndsInTheTipsAndAccessibilityIsSwitchedOnlyByTheUsersPress) {
    session().accessibility().setEnabled(false);
    // Named to the user as the desktop's menus name it, not by its window class.
    home.installApplication(QStringLiteral("harbor-mail"), QStringLiteral("Harbor Mail"), QStringLiteral("Gtk-mail.py"));
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());
    // A browser on Chromium's engine, open before accessibility is on: it reads the switch only as it starts.
    QTemporaryDir profile;
    auto chromium = AccessibleTargets::chromium(profile.path(), AccessibleTargets::chromiumPage());
    if (!chromium)
        GTEST_SKIP() << "Chromium is not installed";
    ASSERT_TRUE(waitUntil([&] { return !windowsOf(chromium->pid()).empty(); }, 4 * patienceMs));
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
    user.tap(DesktopUser::enter);
    QString code;
    ASSERT_TRUE(waitUntil([&] { return !(code = server.codeSentTo(QStringLiteral("ada@example.com"))).isEmpty(); }))
        << "no code was mailed\n" << lumeno->log().toStdString();
    // The code is mailed before the guide hears back and shows its field: keys typed sooner go elsewhere.
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("A sign-in code was sent"))) << lumeno->log().toStdString();
    ASSERT_TRUE(user.type(code));
    user.tap(DesktopUser::enter);

    // The guide ends in the tips, and the setup window stands beside them, asking, with the keyboard.
    const std::optional<xcb_window_t> setup = waitForWindow(lumeno->pid(), QStringLiteral("Allow Lumeno"));
    ASSERT_TRUE(setup) << lumeno->log().toStdString();
    std::optional<xcb_window_t> tips;
    ASSERT_TRUE(waitUntil([&] { return (tips = howToPanel(lumeno->pid())).has_value(); })) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return activeWindow() == setup; }));
    EXPECT_FALSE(geometryOf(*setup).intersects(geometryOf(*tips)))
        << "one hides the other: the setup window at " << geometryOf(*setup).x() << "," << geometryOf(*setup).y()
        << ", the tips at " << geometryOf(*tips).x() << "," << geometryOf(*tips).y();
    EXPECT_LT(geometryOf(*tips).x(), geometryOf(*setup).x()) << "the tips come first";
    const QRect screen = grabScreen().rect();
    EXPECT_TRUE(screen.contains(geometryOf(*setup)) && screen.contains(geometryOf(*tips)));
    EXPECT_FALSE(session().accessibility().isEnabled()) << "nothing switches the desktop's accessibility by itself";
    screenshotOnceStill(QStringLiteral("setup-beside-the-tips"));

    // The user turns it on: the desktop-wide switch, and only the browser is named for a restart. The
    // window opens with its first button, "Turn On", in focus: Space presses it.
    activate(*setup);
    ASSERT_TRUE(user.type(QStringLiteral(" ")));
    const std::optional<LumenoProcess::Line> switched =
        lumeno->waitForLineContaining(QStringLiteral("Accessibility switched on; apps to restart: "));
    ASSERT_TRUE(switched) << lumeno->log().toStdString();
    EXPECT_TRUE(switched->text.endsWith(QStringLiteral("apps to restart: Chromium Web Browser"))) << switched->text.toStdString();
    EXPECT_TRUE(session().accessibility().isEnabled());
    screenshotOnceStill(QStringLiteral("setup-switched-on"));

    // Done leaves the tips, which teach the first dictation.
    activate(*setup);
    user.tap(DesktopUser::enter);
    ASSERT_TRUE(waitUntil([&] { return !isViewable(*setup); }));
    EXPECT_TRUE(isViewable(*tips));
    screenshotOnceStill(QStringLiteral("tips-after-setup"));

    // Back in the mail window, open since before the switch, the first dictation needs nothing more.
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
