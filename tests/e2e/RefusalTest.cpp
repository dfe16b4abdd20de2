// Where Lumeno must not or cannot help, it says so and touches nothing: a terminal, a password field, no
// way to hear the user.
#include "e2e/harness/E2eTest.h"

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

class Refusal : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        becomeReturningUser();
    }

    // Holds the hot key until Lumeno shows a message; the message's log line.
    std::optional<LumenoProcess::Line> holdUntilMessage(LumenoProcess& lumeno) {
        user.press(DesktopUser::rightAlt);
        const std::optional<LumenoProcess::Line> message =
            lumeno.waitForLineContaining(QStringLiteral("Overlay message: "));
        std::vector<xcb_window_t> overlay;
        EXPECT_TRUE(waitUntil([&] { return !(overlay = popupsOf(lumeno.pid())).empty(); })) << "no overlay";
        if (!overlay.empty())
            screenshotOnceDrawn(overlay.front(), QStringLiteral("message"));
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

TEST_F(Refusal, WithoutASoundInputAndWithoutAnAudioFileLumenoSaysItCannotHear) {
    session().sound().stop();
    ASSERT_TRUE(session().sound().start(SoundServer::Input::none)) << session().sound().whyNotRunning().toStdString();
    auto lumeno = launch(std::nullopt);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    EXPECT_EQ(messageOf(holdUntilMessage(*lumeno)), QStringLiteral("Lumeno can't hear you")) << lumeno->log().toStdString();
    EXPECT_TRUE(server.drafts().empty());
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
