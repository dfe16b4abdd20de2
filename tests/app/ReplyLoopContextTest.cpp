// What the loop reads around the field while the user speaks, and what the diagnostics panel and the draft
// record say of it: the thread, why a thread was not read, a selection as the context, and an edit's text.
#include "LoopHarness.h"

namespace lumeno {
namespace {

using testing::LoopHarness;
using Status = DraftDetails::Conversation::Status;

class ReplyLoopContextTest : public LoopHarness {
protected:
    ReplyLoopContextTest() { app->settings.setShowsDraftDetails(true); }

    const ListeningDebugModel& debug() { return app->listeningDebug.model(); }
    DraftDetails lastRecord() { return app->draftDetails.sessions().value(0); }

    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
};

TEST_F(ReplyLoopContextTest, TheDiagnosticsShowTheThreadAndTheFieldOnlyWhileListening) {
    app->memory.addPerson(QStringLiteral("Ana Novak"), {}, QString());
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Yes."));
    holdBegins();
    ASSERT_TRUE(app->listeningDebug.isVisible());
    EXPECT_TRUE(debug().thread().startsWith(QStringLiteral("the conversation on my screen around where I'm typing\n\n")))
        << debug().thread().toStdString();
    EXPECT_TRUE(debug().thread().contains(QStringLiteral("are you joining the call at 3?")));
    const QStringList other = debug().other().split(QLatin1Char('\n'));
    EXPECT_EQ(other.mid(0, 4), (QStringList{QStringLiteral("App: Slack"), QStringLiteral("Window: Ana Novak (DM) - Acme - Slack"),
                                            QStringLiteral("Surface: chat"), QStringLiteral("I am Bob Stone.")}));
    EXPECT_TRUE(other.value(4).startsWith(QStringLiteral("Length "))) << debug().other().toStdString();
    EXPECT_EQ(debug().person(), QStringLiteral("Person card: Ana Novak")) << "the chat partner, from the window title";
    EXPECT_EQ(overlay().personBadge(), QStringLiteral("Ana Novak"));
    EXPECT_TRUE(debug().other().endsWith(QStringLiteral("\nName: Ana Novak"))) << debug().other().toStdString();
    EXPECT_FALSE(screenshot(QStringLiteral("loop-listening-diagnostics"), QStringLiteral("listeningDebugPanel")).isEmpty());

    // Context switched off in the overlay: the thread stays out of the prompt and the record says so.
    overlay().toggleContext();
    EXPECT_FALSE(overlay().contextEnabled());
    EXPECT_TRUE(debug().thread().startsWith(QStringLiteral("Context is off, so this thread will not be packed.\n\n")));
    say(QStringLiteral("tell her yes"));
    release();
    EXPECT_FALSE(app->listeningDebug.isVisible());
    advance(3);
    EXPECT_EQ(lastRecord().conversation->status, Status::found);
    EXPECT_FALSE(lastRecord().conversation->sent);
    EXPECT_FALSE(QString::fromUtf8(server->requests().back().body).contains(QStringLiteral("joining the call")));

    // Without a field the surface is other; an edit names the text it changes.
    desktop.clearFront();
    holdBegins();
    EXPECT_EQ(debug().other().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Surface: other"));
    EXPECT_EQ(debug().person(), QStringLiteral("No person")) << "nothing of the last dictation's person stays";
    EXPECT_TRUE(overlay().personChoices().empty()) << "nobody to pick a person for";
    escape();
    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    holdBegins(true);
    EXPECT_TRUE(debug().other().endsWith(QStringLiteral("Whole message being edited:\nGroceries: milk, eggs")))
        << debug().other().toStdString();
}

TEST_F(ReplyLoopContextTest, TheConversationIsLeftUnreadWhereItIsNotTheUsersToReadAndTheRecordSaysWhy) {
    const auto whyUnread = [&](FakeDesktop::ElementId field) {
        desktop.focus(field);
        serverDrafts(QStringLiteral("Done."));
        holdBegins();
        const QString shown = debug().thread();
        say(QStringLiteral("say done"));
        release();
        advance(3);
        EXPECT_EQ(lastRecord().conversation->note, shown);
        EXPECT_FALSE(logged(QStringLiteral("Read conversation:")));
        EXPECT_TRUE(lastRecord().conversation->sent);
        return std::pair(lastRecord().conversation->status, shown);
    };
    const QString nothingCopied = QStringLiteral(" Nothing copied recently either, so no thread was sent.");

    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.select(notes.text, TextRange{21, 0}); // the caret after the text, nothing selected
    EXPECT_EQ(whyUnread(notes.text),
              std::pair(Status::skipped, QStringLiteral("Not read: Lumeno reads the screen only in email and chat apps, "
                                                        "and it doesn't know Text Editor as one.") + nothingCopied));
    EXPECT_EQ(lastRecord().recipient->how, QStringLiteral("Not looked for: Lumeno doesn't know this app as email or chat"));
    EXPECT_FALSE(QString::fromUtf8(server->requests().back().body).contains(QStringLiteral("notes.txt")))
        << "an app not known as mail or chat is not named to the model";

    const FakeScenes::WebMail mail = FakeScenes::webMail(desktop);
    const FakeDesktop::ElementId search =
        desktop.add(mail.window, FakeDesktop::Element::field(AXRole::textField, QString(), QStringLiteral("Search")));
    EXPECT_EQ(whyUnread(search),
              std::pair(Status::skipped, QStringLiteral("Not read: the focused field isn't in a web page.") + nothingCopied));

    app->settings.setReadsConversation(false);
    EXPECT_EQ(whyUnread(chat.composer),
              std::pair(Status::off, QStringLiteral("Not read: “Use the conversation on screen” is off in Settings → "
                                                    "General.") + nothingCopied));
}

TEST_F(ReplyLoopContextTest, ASelectionOfTwoOrMoreCharactersIsTheContextAndTheScreenIsNotRead) {
    desktop.focus(chat.composer);
    const auto badgeWithSelected = [&](const QString& value, TextRange range) {
        log->clear();
        desktop.change(chat.composer, [&](FakeDesktop::Element& field) { field.value = value; });
        desktop.select(chat.composer, range);
        holdBegins();
        const std::optional<QString> badge = overlay().contextBadge();
        EXPECT_EQ(logged(QStringLiteral("Read conversation:")), badge != QStringLiteral("Selection"));
        escape();
        return badge;
    };
    EXPECT_EQ(badgeWithSelected(QStringLiteral("ok? fine"), TextRange{0, 2}), QStringLiteral("Selection"));
    EXPECT_EQ(badgeWithSelected(QStringLiteral("ok? fine"), TextRange{0, 1}), QStringLiteral("Conversation"));
    // Characters as the user sees them: one emoji is two UTF-16 units, and still one character.
    EXPECT_EQ(badgeWithSelected(QStringLiteral("👍 fine"), TextRange{0, 2}), QStringLiteral("Conversation"));
}

} // namespace
} // namespace lumeno
