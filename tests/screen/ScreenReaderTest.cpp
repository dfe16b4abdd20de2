#include "ScreenTestSupport.h"

#include "platform/AXNames.h"
#include "screen/ScreenReader.h"

namespace lumeno {
namespace {

using testing::ScreenTest;
using Element = FakeDesktop::Element;

class ScreenReaderTest : public ScreenTest {
protected:
    std::optional<ScreenReader::Conversation> read(FakeDesktop::ElementId field, ScreenReader::Limits limits = {}) {
        return ScreenReader(desktop.accessibility(), clock, limits).conversation(desktop.handle(field));
    }

    // A chat of `count` numbered messages above a composer, in an application of its own.
    FakeDesktop::ElementId longChat(int count, double messagingDelay = 0) {
        constexpr qint64 pid = 5100;
        desktop.addApplication({pid, QStringLiteral("org.gnome.fractal"), QStringLiteral("Fractal"),
                                QStringLiteral("GTK"), messagingDelay});
        const FakeDesktop::ElementId window = desktop.addWindow(pid, QStringLiteral("Team room")).window;
        Element list;
        list.role = AXRole::list;
        const FakeDesktop::ElementId messages = desktop.add(window, list);
        for (int number = 1; number <= count; ++number)
            desktop.addText(messages, QStringLiteral("Message %1 about the launch plan").arg(number));
        return desktop.add(window, Element::field(AXRole::textArea, QStringLiteral("my draft")));
    }
};

TEST_F(ScreenReaderTest, AChatThreadComesBackInReadingOrderWithoutTheDraftOrTheControls) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.change(chat.composer, [](Element& field) { field.value = QStringLiteral("Sounds good, I'll join"); });

    const std::optional<ScreenReader::Conversation> conversation = read(chat.composer);
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->text,
              QStringLiteral("Acme\n# general\n# design\nAna Novak\nMarko Kovač\n"
                             "Ana Novak\n"
                             "Ana Novak\n10:02 AM\nMorning! Did you get a chance to look at the draft contract?\n"
                             "Bob Smith\n10:05 AM\nNot yet, I'll read it after lunch.\n"
                             "Ana Novak\n10:06 AM\nGreat. Legal needs our comments by Thursday, and they asked "
                             "whether the payment terms can stay at 30 days.\n"
                             "Ana Novak\n10:07 AM\nAlso, are you joining the call at 3?"));
    EXPECT_EQ(conversation->levels, 3); // composer box, conversation, window
    EXPECT_EQ(conversation->fieldOffset, conversation->text.size());
    EXPECT_FALSE(conversation->truncated);
    EXPECT_GT(conversation->nodes, 20);
}

TEST_F(ScreenReaderTest, AMailReplyGivesItsHeadersAndTheQuotedOriginalButNotTheUsersText) {
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    desktop.change(mail.body, [](Element& body) { body.value = QStringLiteral("Friday works for me.") + *body.value; });

    const std::optional<ScreenReader::Conversation> conversation = read(mail.body);
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->text,
              QStringLiteral("To: Ana Novak <ana.novak@example.com>\nSubject: Re: Lunch on Friday\n"
                             "On Tue, 3 Mar 2026 at 10:12, Ana Novak <ana.novak@example.com> wrote:\n> Hi Bob,\n>\n"
                             "> Are you free for lunch on Friday? The new place on Main Street has a\n> lunch menu, "
                             "and I could book a table for 12:30.\n>\n> Ana"));
    EXPECT_EQ(conversation->fieldOffset, conversation->text.indexOf(QStringLiteral("On Tue")));
    EXPECT_EQ(conversation->levels, 2);
}

TEST_F(ScreenReaderTest, TheWholeRichEditorIsTheDraftWhenTheFocusSitsOnOneOfItsParagraphs) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    Element editor;
    editor.editable = true;
    editor.value = QStringLiteral("First thought\nSecond thought");
    const FakeDesktop::ElementId root = desktop.add(chat.composer, editor);
    Element paragraph = Element::text(QStringLiteral("First thought"));
    paragraph.editable = true;
    desktop.add(root, paragraph);
    paragraph.value = QStringLiteral("Second thought");
    desktop.focus(desktop.add(root, paragraph));

    const std::optional<ScreenReader::Conversation> conversation = read(*desktop.focusedElement());
    ASSERT_TRUE(conversation);
    EXPECT_FALSE(conversation->text.contains(QStringLiteral("thought")));
    EXPECT_TRUE(conversation->text.endsWith(QStringLiteral("Also, are you joining the call at 3?")));
}

// What is below the field comes after its place; the field's own label is no part of the conversation.
TEST_F(ScreenReaderTest, WhatIsBelowTheFieldComesAfterItsPlaceWithoutTheFieldsLabel) {
    const FakeScenes::WebMail web = FakeScenes::webMail(desktop);
    Element box = desktop.element(web.replyBox);
    box.title = QStringLiteral("Message Body");
    desktop.remove(web.replyBox);
    const FakeDesktop::ElementId page = desktop.add(web.page, {});
    const FakeDesktop::ElementId reply = desktop.add(page, box);
    desktop.addText(page, QStringLiteral("Message Body"));
    desktop.addText(page, QStringLiteral("Ana Novak, 9:41 AM"));
    desktop.addText(page, QStringLiteral("Message Body of the day"));

    const std::optional<ScreenReader::Conversation> conversation = read(reply);
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->text.mid(conversation->fieldOffset),
              QStringLiteral("Ana Novak, 9:41 AM\nMessage Body of the day"));
    EXPECT_TRUE(conversation->text.startsWith(QStringLiteral("Invoice 2291\n")));
}

TEST_F(ScreenReaderTest, PasswordFieldsAndOtherWindowsAreNeverRead) {
    const FakeScenes::SignIn signIn = FakeScenes::signIn(desktop);
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    const FakeDesktop::ElementId otherWindow = desktop.addWindow(chat.pid, QStringLiteral("Threads")).window;
    desktop.addText(otherWindow, QStringLiteral("Marko: the launch code is 4411"));

    const std::optional<ScreenReader::Conversation> page = read(signIn.email);
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->text.contains(QStringLiteral("correct horse")));
    EXPECT_FALSE(read(chat.composer)->text.contains(QStringLiteral("launch code")));
}

// A closed list of choices, a panel switched away and a message bar stay in the tree out of sight: none of
// it is read, and what they hold is not even visited. What the status bar says is the window's own.
TEST_F(ScreenReaderTest, WhatTheWindowKeepsOutOfSightIsLeftOutWithAllItHolds) {
    constexpr qint64 pid = 5200;
    desktop.addApplication({pid, QStringLiteral("org.gnome.gedit"), QStringLiteral("gedit"), QStringLiteral("gtk")});
    const FakeDesktop::ElementId window = desktop.addWindow(pid, QStringLiteral("mail-from-bo.txt")).window;
    Element closed;
    closed.role = AXRole::list;
    closed.hidden = true;
    const FakeDesktop::ElementId languages = desktop.add(window, closed);
    for (int number = 0; number < 150; ++number)
        desktop.addText(languages, QStringLiteral("Language %1").arg(number));
    desktop.addText(window, QStringLiteral("Bo: can we move the review to Friday?"));
    Element info = Element::text(QStringLiteral("The file changed on disk."));
    info.hidden = true;
    desktop.add(window, info);
    Element status = Element::text(QStringLiteral("Loading file “/home/ada/mail-from-bo.txt”…"));
    status.role = AXRole::statusBar;
    desktop.add(window, status);
    const FakeDesktop::ElementId view = desktop.add(window, Element::field(AXRole::textArea, QStringLiteral("Sure")));
    Element panel;
    panel.hidden = true;
    desktop.addText(desktop.add(window, panel), QStringLiteral("Bookmarks"));
    desktop.addText(window, QStringLiteral("Bo, 9:41"));

    const std::optional<ScreenReader::Conversation> conversation = read(view);
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->text, QStringLiteral("Bo: can we move the review to Friday?\nBo, 9:41"));
    EXPECT_LT(conversation->nodes, 20);
}

TEST_F(ScreenReaderTest, TheCharacterBoundKeepsTheMessagesNearestTheField) {
    const FakeDesktop::ElementId composer = longChat(200);
    ScreenReader::Limits limits;
    limits.characters = 400;

    const std::optional<ScreenReader::Conversation> conversation = read(composer, limits);
    ASSERT_TRUE(conversation);
    EXPECT_TRUE(conversation->truncated);
    EXPECT_TRUE(conversation->text.endsWith(QStringLiteral("Message 200 about the launch plan")));
    EXPECT_FALSE(conversation->text.contains(QStringLiteral("Message 100 ")));
    EXPECT_LE(conversation->text.size() - conversation->text.count(QLatin1Char('\n')), 400);
}

TEST_F(ScreenReaderTest, TheNodeAndLevelBoundsStopTheRead) {
    const FakeDesktop::ElementId composer = longChat(200);
    ScreenReader::Limits fewNodes;
    fewNodes.nodes = 10;
    const std::optional<ScreenReader::Conversation> partial = read(composer, fewNodes);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->nodes, 10);
    EXPECT_TRUE(partial->truncated);
    EXPECT_TRUE(partial->text.endsWith(QStringLiteral("Message 200 about the launch plan")));

    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    ScreenReader::Limits oneLevel;
    oneLevel.levels = 1;
    const std::optional<ScreenReader::Conversation> nearby = read(chat.composer, oneLevel);
    ASSERT_TRUE(nearby);
    EXPECT_EQ(nearby->levels, 1);
    EXPECT_EQ(nearby->text, QString()); // only the Send button sits next to the composer
}

TEST_F(ScreenReaderTest, ASlowApplicationIsReadOnlyAsLongAsTheTimeBoundAllows) {
    const FakeDesktop::ElementId composer = longChat(200, 0.02);
    ScreenReader::Limits limits;
    limits.seconds = 0.5;
    const QDateTime start = clock.now();

    const std::optional<ScreenReader::Conversation> conversation = read(composer, limits);
    ASSERT_TRUE(conversation);
    EXPECT_TRUE(conversation->truncated);
    EXPECT_LE(start.msecsTo(clock.now()), 560);
    EXPECT_LT(conversation->nodes, 60);
    EXPECT_TRUE(conversation->text.endsWith(QStringLiteral("Message 200 about the launch plan")));
}

TEST_F(ScreenReaderTest, AFieldThatDoesNotAnswerGivesNothing) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.change(chat.composer, [](Element& field) { field.failing = true; });
    EXPECT_EQ(read(chat.composer), std::nullopt);
}

} // namespace
} // namespace lumeno
