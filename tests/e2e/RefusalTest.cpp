// Where Lumeno must not or cannot help, it says so and touches nothing: a terminal, a password field, no
// way to hear the user.
#include "e2e/harness/E2eTest.h"

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
