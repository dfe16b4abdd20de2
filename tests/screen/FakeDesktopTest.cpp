#include "ScreenTestSupport.h"

#include "platform/AXNames.h"
#include "platform/Accessibility.h"
#include "platform/Pasteboard.h"

namespace lumeno {
namespace {

using testing::ScreenTest;
using Key = KeySynth::Key;

// The fake desktop stands in for real applications in every later test, so its keys and its tree must
// behave the way a text field and an accessibility bus do.
class FakeDesktopTest : public ScreenTest {
protected:
    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
};

TEST_F(FakeDesktopTest, PasteReplacesTheSelectionWithTheClipboardTextAndUndoTakesItBack) {
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.value = QStringLiteral("See you at 4"); });
    desktop.select(chat.composer, {11, 1});
    desktop.focus(chat.composer);
    desktop.userCopies(PasteboardContents::plain(QStringLiteral("3, bring the contract")));

    EXPECT_TRUE(desktop.keys().post(Key::paste));
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("See you at 3, bring the contract"));
    EXPECT_EQ(desktop.element(chat.composer).selection, (TextRange{32, 0}));

    EXPECT_TRUE(desktop.keys().post(Key::undo));
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("See you at 4"));
    EXPECT_EQ(desktop.element(chat.composer).selection, (TextRange{11, 1}));
    EXPECT_EQ(desktop.postedKeys(), (std::vector<Key>{Key::paste, Key::undo}));
}

TEST_F(FakeDesktopTest, ReturnBreaksTheLineInATextAreaAndSendsFromASingleLineField) {
    desktop.change(chat.composer, [](FakeDesktop::Element& field) {
        field.value = QStringLiteral("Hi");
        field.selection = {2, 0};
    });
    desktop.focus(chat.composer);
    desktop.keys().post(Key::returnKey);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Hi\n"));
    EXPECT_TRUE(desktop.sentMessages().empty());

    desktop.focus(mail.subject);
    desktop.keys().post(Key::selectAll);
    EXPECT_EQ(desktop.element(mail.subject).selection, (TextRange{0, 19}));
    desktop.keys().post(Key::returnKey);
    EXPECT_EQ(desktop.sentMessages(), (std::vector<FakeDesktop::SentMessage>{{mail.subject, "Re: Lunch on Friday"}}));
    EXPECT_EQ(desktop.valueOf(mail.subject), QString());
}

TEST_F(FakeDesktopTest, KeysOnSomethingThatIsNotAFieldChangeNothing) {
    const FakeDesktop::ElementId sidebarEntry = desktop.addText(chat.sidebar, QStringLiteral("# random"));
    desktop.focus(sidebarEntry);
    desktop.userCopies(PasteboardContents::plain(QStringLiteral("pasted")));
    EXPECT_TRUE(desktop.keys().post(Key::paste));
    EXPECT_EQ(desktop.valueOf(sidebarEntry), QStringLiteral("# random"));

    desktop.setKeysFail(true);
    EXPECT_FALSE(desktop.keys().post(Key::paste));
    EXPECT_EQ(desktop.postedKeys().size(), 1u);
}

TEST_F(FakeDesktopTest, FocusBringsTheApplicationToTheFrontOfTheWorkspace) {
    desktop.focus(mail.body);
    ASSERT_TRUE(workspace.frontmost);
    EXPECT_EQ(*workspace.frontmost,
              (RunningApplication{mail.pid, "org.gnome.evolution", "Evolution", "Re: Lunch on Friday"}));
    EXPECT_EQ(desktop.accessibility().focusedElement(mail.pid), desktop.handle(mail.body));
    EXPECT_EQ(desktop.accessibility().focusedElement(chat.pid), std::nullopt);

    desktop.bringToFront(chat.pid);
    EXPECT_EQ(workspace.frontmost->pid, chat.pid);
    EXPECT_EQ(workspace.frontmost->windowTitle, QStringLiteral("Ana Novak (DM) - Acme - Slack"));
    EXPECT_EQ(desktop.accessibility().focusedElement(chat.pid), std::nullopt);
    desktop.clearFront();
    EXPECT_EQ(workspace.frontmost, std::nullopt);
}

TEST_F(FakeDesktopTest, TheTreeAnswersWithRolesTextWindowsAndSettability) {
    Accessibility& ax = desktop.accessibility();
    const AccessibleElement body = desktop.handle(mail.body);
    EXPECT_EQ(ax.string(body, AXAttribute::role), QString(AXRole::textArea));
    EXPECT_EQ(ax.string(body, AXAttribute::description), QStringLiteral("Message body"));
    EXPECT_TRUE(ax.string(body, AXAttribute::value)->contains(QStringLiteral("Are you free for lunch")));
    EXPECT_EQ(ax.isSettable(body, AXAttribute::value), true);
    EXPECT_EQ(ax.string(*ax.element(body, AXAttribute::window), AXAttribute::title), QStringLiteral("Re: Lunch on Friday"));
    EXPECT_EQ(ax.flag(body, AXAttribute::focused), false);

    const AccessibleElement scroll = *ax.parent(body);
    EXPECT_EQ(ax.children(scroll), (std::vector<AccessibleElement>{body}));
    EXPECT_EQ(ax.isSettable(scroll, AXAttribute::value), false);

    EXPECT_TRUE(ax.setAttribute(body, AXAttribute::selectedTextRange, TextRange{0, 2}));
    EXPECT_FALSE(ax.setAttribute(body, AXAttribute::selectedTextRange, TextRange{5, 10000}));
    EXPECT_EQ(desktop.element(mail.body).selection, (TextRange{0, 2}));
}

TEST_F(FakeDesktopTest, PasswordFieldsNeverGiveTheirText) {
    const FakeScenes::SignIn signIn = FakeScenes::signIn(desktop);
    desktop.select(signIn.password, {0, 7});
    Accessibility& ax = desktop.accessibility();
    const AccessibleElement password = desktop.handle(signIn.password);
    EXPECT_EQ(ax.string(password, AXAttribute::value), std::nullopt);
    EXPECT_EQ(ax.string(password, AXAttribute::selectedText), std::nullopt);
    EXPECT_EQ(ax.string(password, AXAttribute::subrole), QString(AXSubrole::secureTextField));
}

TEST_F(FakeDesktopTest, SlowElementsTakeClockTimeAndTimeOutPastTheMessagingTimeout) {
    Accessibility& ax = desktop.accessibility();
    ax.setMessagingTimeout(0.5);
    const AccessibleElement subject = desktop.handle(mail.subject);
    const QDateTime start = clock.now();

    desktop.change(mail.subject, [](FakeDesktop::Element& e) { e.messagingDelay = 0.2; });
    EXPECT_EQ(ax.string(subject, AXAttribute::value), QStringLiteral("Re: Lunch on Friday"));
    EXPECT_EQ(start.msecsTo(clock.now()), 200);

    desktop.change(mail.subject, [](FakeDesktop::Element& e) { e.messagingDelay = 3.0; });
    EXPECT_EQ(ax.string(subject, AXAttribute::value), std::nullopt);
    EXPECT_EQ(start.msecsTo(clock.now()), 700);

    desktop.change(mail.subject, [](FakeDesktop::Element& e) {
        e.messagingDelay.reset();
        e.failing = true;
    });
    EXPECT_EQ(ax.string(subject, AXAttribute::role), std::nullopt);
    EXPECT_TRUE(ax.children(desktop.handle(mail.window)).size() > 0);
}

TEST_F(FakeDesktopTest, RemovedElementsStopAnsweringAndLoseFocus) {
    desktop.focus(chat.composer);
    const AccessibleElement composer = desktop.handle(chat.composer);
    desktop.remove(chat.thread);
    desktop.remove(chat.composer);
    EXPECT_EQ(desktop.accessibility().string(composer, AXAttribute::role), std::nullopt);
    EXPECT_EQ(desktop.focusedElement(), std::nullopt);
    EXPECT_EQ(desktop.idOf(composer), std::nullopt);
}

TEST_F(FakeDesktopTest, EveryClipboardWriteMovesTheChangeCountAndEmptyContentsClearIt) {
    Pasteboard& pasteboard = desktop.pasteboard();
    const qint64 start = pasteboard.changeCount();
    PasteboardContents copy = PasteboardContents::plain(QStringLiteral("hello"));
    copy.otherData.insert(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    EXPECT_TRUE(pasteboard.write(copy));
    EXPECT_EQ(pasteboard.contents(), copy);
    EXPECT_TRUE(pasteboard.write({}));
    EXPECT_EQ(pasteboard.contents(), std::nullopt);
    EXPECT_EQ(pasteboard.changeCount(), start + 2);

    desktop.setPasteboardWritesFail(true);
    EXPECT_FALSE(pasteboard.write(copy));
    EXPECT_EQ(pasteboard.changeCount(), start + 2);
}

} // namespace
} // namespace lumeno
