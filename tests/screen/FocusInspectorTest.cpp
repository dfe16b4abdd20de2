#include "ScreenTestSupport.h"

#include "platform/AXNames.h"
#include "screen/FocusInspector.h"
#include "testsupport/GatedAccessibility.h"

#include <cstring>

namespace lumeno {
namespace {

using testing::ScreenTest;
using Editability = FocusSnapshot::Editability;

class FocusInspectorTest : public ScreenTest {
protected:
    FocusInspector inspector{workspace, desktop.accessibility()};

    std::optional<FocusSnapshot> snapshot() { return runToEnd(inspector.snapshot()); }
};

TEST_F(FocusInspectorTest, ReadsTheMailReplyBodyWithItsApplicationAndWindow) {
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    desktop.focus(mail.body);

    const std::optional<FocusSnapshot> snap = snapshot();
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->pid, mail.pid);
    EXPECT_EQ(snap->bundleID, QStringLiteral("org.gnome.evolution"));
    EXPECT_EQ(snap->appName, QStringLiteral("Evolution"));
    EXPECT_EQ(snap->element, desktop.handle(mail.body));
    EXPECT_EQ(snap->role, QString(AXRole::textArea));
    EXPECT_EQ(snap->subrole, std::nullopt);
    EXPECT_EQ(snap->editability, Editability::editable);
    EXPECT_EQ(snap->windowTitle, QStringLiteral("Re: Lunch on Friday"));
    EXPECT_EQ(snap->webURL, std::nullopt);
    EXPECT_FALSE(snap->isChromium);
    EXPECT_TRUE(snap->hasKeyboardFocus);
    EXPECT_EQ(snap->selectedText, std::nullopt); // a caret is no selection

    EXPECT_TRUE(runToEnd(inspector.value(*snap->element))->endsWith(QStringLiteral("> Ana")));
}

TEST_F(FocusInspectorTest, AFieldInAWebPageCarriesThePagesAddressAndChromiumIsRecognised) {
    const FakeScenes::WebMail web = FakeScenes::webMail(desktop);
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(web.replyBox);
    const std::optional<FocusSnapshot> page = snapshot();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->webURL, QStringLiteral("https://mail.google.com/mail/u/0/#inbox/FMfcgzQXJWq"));
    EXPECT_FALSE(page->isChromium);

    desktop.focus(chat.composer);
    desktop.change(chat.composer, [](FakeDesktop::Element& field) {
        field.value = QStringLiteral("Yes, see you at 3");
        field.selection = {0, 3};
    });
    const std::optional<FocusSnapshot> app = snapshot();
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->isChromium);
    EXPECT_EQ(app->webURL, std::nullopt);
    EXPECT_EQ(app->selectedText, QStringLiteral("Yes"));
}

TEST_F(FocusInspectorTest, NoApplicationInFrontGivesNoneAndNoFocusGivesNoElement) {
    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    EXPECT_EQ(snapshot(), std::nullopt);

    desktop.bringToFront(notes.pid);
    const std::optional<FocusSnapshot> snap = snapshot();
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->appName, QStringLiteral("Text Editor"));
    EXPECT_EQ(snap->windowTitle, QStringLiteral("notes.txt")); // as the desktop names the window in front
    EXPECT_EQ(snap->element, std::nullopt);
    EXPECT_EQ(snap->editability, Editability::unknown);
}

TEST_F(FocusInspectorTest, APasswordFieldsSelectionIsNeverRead) {
    const FakeScenes::SignIn signIn = FakeScenes::signIn(desktop);
    desktop.focus(signIn.password);
    desktop.select(signIn.password, {0, 7});
    const std::optional<FocusSnapshot> snap = snapshot();
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->subrole, QString(AXSubrole::secureTextField));
    EXPECT_TRUE(FocusInspector::isPasswordField(*snap));
    EXPECT_EQ(snap->selectedText, std::nullopt);
}

TEST_F(FocusInspectorTest, ReadOnlyTextAndAnApplicationThatStopsAnsweringAreToldApart) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    const FakeDesktop::ElementId message = desktop.addText(chat.thread, QStringLiteral("Shared a file"));
    desktop.focus(message);
    EXPECT_EQ(snapshot()->editability, Editability::readOnly);

    desktop.focus(chat.composer);
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.failing = true; });
    const std::optional<FocusSnapshot> silent = snapshot();
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->element, std::nullopt);
    EXPECT_EQ(silent->editability, Editability::unknown);
}

TEST_F(FocusInspectorTest, ASlowFieldTimesOutIntoUnknownsWithinTheMessagingTimeout) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.accessibility().setMessagingTimeout(0.25);
    desktop.focus(chat.composer);
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.messagingDelay = 0.1; });
    const std::optional<FocusSnapshot> slow = snapshot();
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->editability, Editability::editable);
    EXPECT_EQ(slow->windowTitle, QStringLiteral("Ana Novak (DM) - Acme - Slack"));

    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.messagingDelay = 2.0; });
    const QDateTime start = clock.now();
    const std::optional<FocusSnapshot> stuck = snapshot();
    ASSERT_TRUE(stuck);
    EXPECT_EQ(stuck->element, std::nullopt);
    EXPECT_LE(start.msecsTo(clock.now()), 250);
}

TEST_F(FocusInspectorTest, AReadStillRunningWhenTheInspectorGoesAtQuitNeedsNothingOfIt) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(chat.composer);
    testing::GatedAccessibility gated(desktop.accessibility());
    gated.holdNextCall();
    alignas(FocusInspector) std::byte storage[sizeof(FocusInspector)];
    auto* inspector = new (storage) FocusInspector(workspace, gated);
    QCoro::Task<std::optional<FocusSnapshot>> reading = inspector->snapshot();
    ASSERT_TRUE(gated.waitUntilHeld());

    inspector->~FocusInspector();
    std::memset(storage, 0xff, sizeof storage); // its memory already holds something else
    gated.letGo();
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_GT(gated.answers(), 5) << "the read went on to its end through the port alone";
}

TEST_F(FocusInspectorTest, TerminalsAreKnownByApplicationIdInEveryFormAndByRole) {
    FocusSnapshot snap;
    for (const char* id : {"org.gnome.Terminal.desktop", "org.kde.konsole", "XTerm", "Alacritty", "kitty"}) {
        snap.bundleID = QString::fromUtf8(id);
        EXPECT_TRUE(FocusInspector::isTerminal(snap)) << id;
    }
    snap.bundleID = QStringLiteral("org.gnome.evolution");
    EXPECT_FALSE(FocusInspector::isTerminal(snap));
    snap.role = QString(AXRole::terminal);
    EXPECT_TRUE(FocusInspector::isTerminal(snap));
    snap = {};
    EXPECT_FALSE(FocusInspector::isTerminal(snap));
}

} // namespace
} // namespace lumeno
