// What the draft record and the listening diagnostics say about a dictation: the line-break check, why no
// thread was read, who the reply is for, and the later fates of a committed record.
#include "LoopHarness.h"

namespace lumeno {
namespace {

using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;
using Status = DraftDetails::Conversation::Status;

class DraftRecordTest : public LoopHarness {
protected:
    DraftRecordTest() { app->settings.setShowsDraftDetails(true); }

    DraftDetails lastRecord() {
        EXPECT_FALSE(app->draftDetails.sessions().isEmpty());
        return app->draftDetails.sessions().isEmpty() ? DraftDetails{} : app->draftDetails.sessions().front();
    }

    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
};

TEST_F(DraftRecordTest, TheLineBreakCheckSaysWhatArrivedOrThatTheFieldCouldNotBeReadBack) {
    desktop.change(chat.composer, [](FakeDesktop::Element& field) {
        field.pasteHandling = FakeDesktop::PasteHandling::dropsLineBreaks;
    });
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("One.\nTwo.\nThree."));
    dictate(QStringLiteral("say one two three"));
    EXPECT_EQ(lastRecord().lineBreaks, QStringLiteral("0 of 2 arrived in the field"));

    // A field that keeps its text to itself: the paste cannot be checked, so the draft waits in the overlay.
    desktop.change(chat.composer, [](FakeDesktop::Element& field) {
        field.pasteHandling = FakeDesktop::PasteHandling::inserts;
        field.exposesValue = false;
    });
    serverDrafts(QStringLiteral("One.\nTwo."));
    dictate(QStringLiteral("say one two"));
    const DraftDetails unread = lastRecord();
    EXPECT_EQ(unread.lineBreaks, QStringLiteral("1 sent; the app's text couldn't be read back to check"));
    ASSERT_EQ(loop().phase().kind, Kind::pending);
    const QString note = QStringLiteral("If the reply isn't in the field, click it and press Insert.");
    EXPECT_EQ(overlay().pendingNote(), note);
    EXPECT_EQ(unread.outcome, QStringLiteral("Waiting: ") + note);
}

TEST_F(DraftRecordTest, TheDiagnosticsShowTheThreadAndWhoTheReplyIsForOnlyWhileListening) {
    desktop.focus(chat.composer);
    holdBegins();
    ASSERT_TRUE(app->listeningDebug.isVisible());
    const ListeningDebugModel& debug = app->listeningDebug.model();
    EXPECT_TRUE(debug.thread().startsWith(
        QStringLiteral("the conversation on my screen around where I'm typing\n\n")))
        << debug.thread().toStdString();
    EXPECT_TRUE(debug.thread().contains(QStringLiteral("are you joining the call at 3?")));
    const QStringList other = debug.other().split(QLatin1Char('\n'));
    EXPECT_EQ(other.value(0), QStringLiteral("App: Slack"));
    EXPECT_EQ(other.value(1), QStringLiteral("Window: Ana Novak (DM) - Acme - Slack"));
    EXPECT_EQ(other.value(2), QStringLiteral("Surface: chat"));
    EXPECT_EQ(other.value(3), QStringLiteral("I am Bob Stone."));
    EXPECT_TRUE(other.value(4).startsWith(QStringLiteral("Length "))) << debug.other().toStdString();
    EXPECT_FALSE(debug.person().isEmpty());
    EXPECT_FALSE(screenshot(QStringLiteral("loop-listening-diagnostics"), QStringLiteral("listeningDebugPanel")).isEmpty());

    overlay().onToggleContext();
    EXPECT_TRUE(debug.thread().startsWith(QStringLiteral("Context is off, so this thread will not be packed.\n\n")));

    say(QStringLiteral("tell her yes"));
    release();
    EXPECT_FALSE(app->listeningDebug.isVisible());
}

TEST_F(DraftRecordTest, WithTheConversationSettingOffTheRecordAndDiagnosticsSayWhyNoThreadWasSent) {
    app->settings.setReadsConversation(false);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Yes."));
    holdBegins();
    const QString why = QStringLiteral("Not read: “Use the conversation on screen” is off in Settings → General. "
                                       "Nothing copied recently either, so no thread was sent.");
    EXPECT_EQ(app->listeningDebug.model().thread(), why);
    say(QStringLiteral("tell her yes"));
    release();
    advance(3);
    const DraftDetails record = lastRecord();
    ASSERT_TRUE(record.conversation);
    EXPECT_EQ(record.conversation->status, Status::off);
    EXPECT_EQ(record.conversation->note, why);
    EXPECT_EQ(record.conversation->characters, 0);
}

TEST_F(DraftRecordTest, AnAppNotKnownAsMailOrChatIsNeitherReadNorNamedToTheModel) {
    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{21, 0}); // the caret after the text, nothing selected
    serverDrafts(QStringLiteral("Done."));
    dictate(QStringLiteral("say done"));

    const DraftDetails record = lastRecord();
    ASSERT_TRUE(record.recipient);
    EXPECT_EQ(record.recipient->name, std::nullopt);
    EXPECT_EQ(record.recipient->how, QStringLiteral("Not looked for: Lumeno doesn't know this app as email or chat"));
    ASSERT_TRUE(record.conversation);
    EXPECT_EQ(record.conversation->note,
              QStringLiteral("Not read: Lumeno reads the screen only in email and chat apps, and it doesn't know "
                             "Text Editor as one. Nothing copied recently either, so no thread was sent."));
    for (const HttpRequest& request : server->requests())
        EXPECT_FALSE(QString::fromUtf8(request.body).contains(QStringLiteral("notes.txt")));
    EXPECT_FALSE(server->requests().empty());
}

TEST_F(DraftRecordTest, ASelectionOfTwoOrMoreCharactersIsTheContextAndTheScreenIsNotRead) {
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.value = QStringLiteral("ok? fine"); });
    desktop.focus(chat.composer);
    desktop.select(chat.composer, TextRange{0, 2});
    holdBegins();
    EXPECT_TRUE(log->lines().filter(QStringLiteral("Read conversation:")).isEmpty());
    EXPECT_EQ(overlay().contextBadge(), QStringLiteral("Selection"));
    escape();

    desktop.select(chat.composer, TextRange{0, 1}); // one character is no context: the thread is read
    holdBegins();
    EXPECT_FALSE(log->lines().filter(QStringLiteral("Read conversation:")).isEmpty());
    EXPECT_EQ(overlay().contextBadge(), QStringLiteral("Conversation"));
    escape();

    // Characters as the user sees them: one emoji is two UTF-16 units, and still one character.
    log->clear();
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.value = QStringLiteral("👍 fine"); });
    desktop.select(chat.composer, TextRange{0, 2});
    holdBegins();
    EXPECT_FALSE(log->lines().filter(QStringLiteral("Read conversation:")).isEmpty());
    EXPECT_EQ(overlay().contextBadge(), QStringLiteral("Conversation"));
}

TEST_F(DraftRecordTest, AFieldOfABrowserOutsideAnyPageIsNotRead) {
    const FakeScenes::WebMail mail = FakeScenes::webMail(desktop);
    const FakeDesktop::ElementId search =
        desktop.add(mail.window, FakeDesktop::Element::field(AXRole::textField, QString(), QStringLiteral("Search")));
    desktop.focus(search);
    serverDrafts(QStringLiteral("Confirmed."));
    dictate(QStringLiteral("say confirmed"));
    const DraftDetails record = lastRecord();
    ASSERT_TRUE(record.conversation);
    EXPECT_EQ(record.conversation->status, Status::skipped);
    EXPECT_EQ(record.conversation->note, QStringLiteral("Not read: the focused field isn't in a web page. Nothing "
                                                        "copied recently either, so no thread was sent."));
}

TEST_F(DraftRecordTest, APersonPickedInTheOverlayOutlastsTheMatchAndIsRecordedAsPicked) {
    app->memory.addPerson(QStringLiteral("Ana Novak"), {}, QString());
    const Person marko = app->memory.addPerson(QStringLiteral("Marko Kovač"), {}, QString());
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sure."));
    ++press;
    loop().handle(HotkeyEvent::down(press));
    loop().handle(HotkeyEvent::holdBegan(press, false));
    overlay().onPickPerson(marko.id); // before the thread was read and matched to Ana
    settle();
    EXPECT_EQ(overlay().personBadge(), QStringLiteral("Marko Kovač"));
    EXPECT_EQ(overlay().personChoices().size(), 2u);
    say(QStringLiteral("say sure"));
    release();
    advance(3);
    ASSERT_TRUE(lastRecord().recipient);
    EXPECT_EQ(lastRecord().recipient->name, QStringLiteral("Marko Kovač"));
    EXPECT_EQ(lastRecord().recipient->how, QStringLiteral("Picked by you in the overlay"));

    serverDrafts(QStringLiteral("Sure."));
    ++press;
    loop().handle(HotkeyEvent::down(press));
    loop().handle(HotkeyEvent::holdBegan(press, false));
    overlay().onPickPerson(std::nullopt); // nobody, not even the thread's last author
    settle();
    EXPECT_EQ(overlay().personBadge(), std::nullopt);
    say(QStringLiteral("say sure"));
    release();
    advance(3);
    ASSERT_TRUE(lastRecord().recipient);
    EXPECT_EQ(lastRecord().recipient->name, std::nullopt);
    EXPECT_EQ(lastRecord().recipient->how, QStringLiteral("You chose No Person Card"));
}

TEST_F(DraftRecordTest, TheDiagnosticsNameWhatAnEditChangesAndNeedNoField) {
    desktop.clearFront();
    holdBegins();
    EXPECT_EQ(app->listeningDebug.model().other().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Surface: other"));
    escape();

    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    holdBegins(true);
    EXPECT_TRUE(app->listeningDebug.model().other().endsWith(
        QStringLiteral("Whole message being edited:\nGroceries: milk, eggs")))
        << app->listeningDebug.model().other().toStdString();
}

TEST_F(DraftRecordTest, LaterFatesAmendTheCommittedRecordOnlyWhileDetailsAreOn) {
    desktop.focus(chat.composer);
    server->enqueue(FakeHttpTransport::json(500, R"({"error":"boom"})"));
    dictate(QStringLiteral("tell her yes"));
    ASSERT_TRUE(overlay().message());
    const QString errorTitle = overlay().message()->title;
    escape(); // the error's record is closed: Escape adds nothing to it
    EXPECT_EQ(lastRecord().outcome, errorTitle);
    EXPECT_EQ(app->draftDetails.sessions().size(), 1);

    desktop.clearFront();
    serverDrafts(QStringLiteral("Later."));
    dictate(QStringLiteral("say later"));
    ASSERT_EQ(loop().phase().kind, Kind::pending);
    const QString waiting = QStringLiteral("Waiting: no text field had focus");
    EXPECT_EQ(lastRecord().outcome, waiting);
    app->settings.setShowsDraftDetails(false);
    escape();
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(lastRecord().outcome, waiting);
}

} // namespace
} // namespace lumeno
