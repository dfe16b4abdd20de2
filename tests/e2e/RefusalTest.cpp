// Where Lumeno must not or cannot help, it says so and touches nothing: a terminal, a password field, no
// way to hear the user.
#include "e2e/harness/E2eTest.h"
#include "e2e/harness/ScreenButtons.h"

#include <QDir>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;
using desktop::SoundServer;

class Refusal : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        becomeReturningUser();
    }

    // Holds the hot key until Lumeno shows a message; the message's log line.
    std::optional<LumenoProcess::Line> holdUntilMessage(LumenoProcess& lumeno, qsizetype after = 0,
                                                        const QString& picture = QStringLiteral("message")) {
        user.press(DesktopUser::rightAlt);
        const std::optional<LumenoProcess::Line> message =
            lumeno.waitForLineContaining(QStringLiteral("Overlay message: "), 10000, after);
        std::vector<xcb_window_t> overlay;
        EXPECT_TRUE(waitUntil([&] { return !(overlay = popupsOf(lumeno.pid())).empty(); })) << "no overlay";
        if (!overlay.empty())
            screenshotOnceDrawn(overlay.front(), picture);
        user.release(DesktopUser::rightAlt);
        return message;
    }

    static QString messageOf(const std::optional<LumenoProcess::Line>& line) {
        return line ? line->text.section(QStringLiteral("Overlay message: "), 1) : QString();
    }
};

TEST_F(Refusal, AnXtermIsRefusedAndNothingIsTypedIntoIt) {
    auto lumeno = launch(spoken(QStringLiteral("List the files")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto terminal = E2eTargets::xterm();
    const std::optional<xcb_window_t> window = waitForWindow(terminal->pid(), QStringLiteral("Terminal"));
    ASSERT_TRUE(window) << "xterm did not open (scripts/install-deps.sh installs it)";
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == window; }));

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno)), QStringLiteral("Lumeno doesn't type into terminals"))
        << lumeno->log().toStdString();
    EXPECT_TRUE(server.drafts().empty());
    EXPECT_FALSE(lumeno->log().contains(QStringLiteral("Insert outcome")));
}

TEST_F(Refusal, APasswordFieldIsNeitherReadNorTypedInto) {
    auto lumeno = launch(spoken(QStringLiteral("My password is secret")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto login = E2eTargets::gtkLogin();
    ASSERT_TRUE(login->waitUntilReady());

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno)), QStringLiteral("That's a password field"))
        << lumeno->log().toStdString();
    EXPECT_TRUE(server.drafts().empty());
    EXPECT_FALSE(lumeno->log().contains(QStringLiteral("correct horse battery")));
    for (const testing::TestServer::Seen& seen : server.seen())
        EXPECT_FALSE(seen.body.contains("correct horse battery")) << seen.path.toStdString();
    EXPECT_TRUE(login->text(QStringLiteral("password")).isEmpty()) << "the password field was changed";
}

// Accessibility switched off after setup: Lumeno reads the desktop's switch, says it is off, and the hold's
// message's button turns it on.
TEST_F(Refusal, AnAccessibilitySwitchTurnedOffAfterSetupIsSaidOffAndTheMessagesButtonTurnsItOn) {
    session().accessibility().setEnabled(false);
    const std::shared_ptr<void> restore(nullptr, [](void*) { session().accessibility().setEnabled(true); });
    home.setSetting(QStringLiteral("didPromptAccessibility"), true);
    auto lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno, 0, QStringLiteral("accessibility-off"))),
              QStringLiteral("Accessibility is off"))
        << lumeno->log().toStdString();
    // With accessibility off Lumeno's own controls are not on the bus either: the button is the one thing
    // filled blue in the message.
    const std::vector<xcb_window_t> overlay = popupsOf(lumeno->pid());
    ASSERT_FALSE(overlay.empty());
    const QRect panel = geometryOf(overlay.front());
    const QImage message = grabScreen().copy(panel);
    QRect button;
    for (int y = 0; y < message.height(); ++y)
        for (int x = 0; x < message.width(); ++x) {
            const QColor pixel = message.pixelColor(x, y);
            if (pixel.blue() > 150 && pixel.red() < 100 && pixel.green() > 100 && pixel.green() < 170)
                button |= QRect(x, y, 1, 1);
        }
    ASSERT_GT(button.width(), 20) << "no Turn On button in the message";
    const qsizetype before = qsizetype(lumeno->lines().size());
    user.click(panel.x() + button.center().x(), panel.y() + button.center().y());
    EXPECT_TRUE(waitUntil([&] { return session().accessibility().isEnabled(); }))
        << "the button did not turn the desktop's accessibility on\n" << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Accessibility switched on"), patienceMs, before))
        << lumeno->log().toStdString();

    // The next press listens.
    const qsizetype seen = qsizetype(lumeno->lines().size());
    user.press(DesktopUser::rightAlt);
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Listening (hold"), patienceMs, seen))
        << lumeno->log().toStdString();
    user.release(DesktopUser::rightAlt);
}

// Started before the sound server, as at login: Lumeno says why it can't hear, and once the server and a
// microphone are there, the user dictates without starting it again.
TEST_F(Refusal, WithoutASoundServerLumenoSaysItCannotHearUntilOneWithAMicrophoneStarts) {
    session().sound().stop();
    server.setDraftAnswer(200, R"({"text":"I'll send it tomorrow.","provider":"anthropic","model":"m"})");
    auto lumeno = launch(std::nullopt);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno, 0, QStringLiteral("no-sound-server"))), QStringLiteral("Lumeno can't hear you"))
        << lumeno->log().toStdString();
    EXPECT_FALSE(ScreenButtons::find(lumeno->pid(), QStringLiteral("Fix…")))
        << "the message offers settings, which cannot start a sound server";
    EXPECT_TRUE(lumeno->log().contains(QStringLiteral("No sound server; looking for one every 2 s"))) << lumeno->log().toStdString();

    // A server whose only source listens to the speakers has no microphone either.
    ASSERT_TRUE(session().sound().start(SoundServer::Input::none)) << session().sound().whyNotRunning().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Sound input: none"), patienceMs)) << lumeno->log().toStdString();
    const qsizetype before = qsizetype(lumeno->lines().size());
    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno, before, QStringLiteral("no-microphone"))),
              QStringLiteral("Lumeno can't hear you"));

    // The sound server comes back with a microphone: the next press listens to it.
    session().sound().stop();
    ASSERT_TRUE(session().sound().start(SoundServer::Input::voice)) << session().sound().whyNotRunning().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Sound input: Microphone"), patienceMs))
        << lumeno->log().toStdString();
    const qsizetype seen = qsizetype(lumeno->lines().size());
    user.press(DesktopUser::rightAlt);
    const bool listening = lumeno->waitForLineContaining(QStringLiteral("Listening (hold"), patienceMs, seen).has_value();
    const bool spoke = listening && session().sound().play(spoken(QStringLiteral("Please send the report tomorrow morning")));
    user.release(DesktopUser::rightAlt);
    ASSERT_TRUE(listening && spoke) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return mail->text(QStringLiteral("reply")).startsWith(QStringLiteral("I'll send it tomorrow.")); }))
        << lumeno->log().toStdString();
    ASSERT_EQ(server.drafts().size(), 1u);
    EXPECT_TRUE(server.drafts().front().body.contains("report")) << server.drafts().front().body.toStdString();

    session().sound().stop();
    ASSERT_TRUE(session().sound().start()) << session().sound().whyNotRunning().toStdString();
}

// A sound server with no microphone, and no sound settings app installed: the buttons that promise the sound
// settings say what to install instead, the overlay's Fix… in its message and the Microphone row's Open
// Settings… under it.
TEST_F(Refusal, WithoutASoundSettingsAppTheButtonsSayWhatToInstall) {
    const QString advice = QStringLiteral(
        "No sound settings app is installed. Install pavucontrol, then pick your microphone on its Input Devices tab.");
    session().sound().stop();
    const std::shared_ptr<void> restore(nullptr, [](void*) {
        session().sound().stop();
        session().sound().start();
    });
    ASSERT_TRUE(session().sound().start(SoundServer::Input::none)) << session().sound().whyNotRunning().toStdString();
    // A PATH with no settings app on it, whatever this machine has installed.
    const QString noApps = home.path() + QStringLiteral("/no-apps");
    ASSERT_TRUE(QDir().mkpath(noApps));
    const QStringList environment{QStringLiteral("PATH=") + noApps};
    auto lumeno = launch(std::nullopt, environment);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno)), QStringLiteral("Lumeno can't hear you")) << lumeno->log().toStdString();
    const qsizetype before = qsizetype(lumeno->lines().size());
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Fix…"))) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Overlay message: Couldn't open the sound settings"),
                                              patienceMs, before))
        << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return ScreenButtons::find(lumeno->pid(), advice).has_value(); }))
        << "the overlay does not say what to install";
    screenshotOnceStill(QStringLiteral("fix-without-sound-settings"));
    // Put away, so what the Settings window says next is its own.
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Cancel")));
    ASSERT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); }));

    // Settings, brought forward by a second launch, on its Permissions tab.
    auto second = launch(std::nullopt, environment);
    EXPECT_EQ(second->waitForExit(), 0) << second->log().toStdString();
    const std::optional<xcb_window_t> window = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Settings — General"));
    ASSERT_TRUE(window) << lumeno->log().toStdString();
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Permissions")));
    ASSERT_TRUE(waitUntil([&] { return titleOf(*window) == QStringLiteral("Lumeno Settings — Permissions"); }));
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Open Settings…")));
    std::optional<QRect> said;
    EXPECT_TRUE(waitUntil([&] { return (said = ScreenButtons::find(lumeno->pid(), advice)).has_value(); }))
        << "the Microphone row does not say what to install";
    EXPECT_TRUE(said && geometryOf(*window).contains(*said)) << "the advice is not in the Settings window";
    screenshotOnceStill(QStringLiteral("open-settings-without-sound-settings"));
}

TEST_F(Refusal, AnAudioFileThatIsNotThereIsNamed) {
    const QString missing = home.path() + QStringLiteral("/recordings/reply.wav");
    auto lumeno = launch(missing);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno)), QStringLiteral("Couldn't start listening")) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(
        QStringLiteral("Listening failed: The audio file %1 (LUMENO_AUDIO_FILE) doesn't exist.").arg(missing)))
        << lumeno->log().toStdString();
    EXPECT_TRUE(server.drafts().empty());
}

} // namespace

} // namespace lumeno::e2e
