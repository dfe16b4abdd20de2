// Whole dictations from the hot key to the field, on the fake desktop: hold and tap, pasting, pending
// drafts, save offers, the draft record and cancelling.
#include "LoopHarness.h"

#include <QJsonArray>

namespace lumeno {
namespace {

using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;

QString draftRequestUser(const FakeHttpTransport& server) {
    for (const HttpRequest& request : server.requests())
        if (request.url.path().endsWith(QStringLiteral("/v1/draft")))
            return QJsonDocument::fromJson(request.body).object().value(QStringLiteral("user")).toString();
    return {};
}

class ReplyLoopFlowTest : public LoopHarness {
protected:
    void learnFromEdits(bool on) {
        StyleProfile profile = app->style.profile();
        profile.learnFromEdits = on;
        app->style.setProfile(profile);
    }

    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
};

TEST_F(ReplyLoopFlowTest, HoldingTheKeyListensDraftsAndPastesIntoTheChat) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sounds good, see you at 3!"));

    holdBegins();
    EXPECT_EQ(loop().phase(), TriggerLogic::Phase::listening(ListenMode::hold, press));
    EXPECT_EQ(shown(), OverlayPhase::listening);
    EXPECT_TRUE(microphone.isRecording());
    EXPECT_EQ(overlay().contextBadge(), QStringLiteral("Conversation"));
    say(QStringLiteral("tell her three works for me"));
    EXPECT_EQ(overlay().transcript(), QStringLiteral("tell her three works for me"));
    screenshot(QStringLiteral("loop-listening"));

    release();
    EXPECT_EQ(shown(), OverlayPhase::transcribing);
    advance(0.5); // the recognizer settles before the capture stops
    screenshot(QStringLiteral("loop-drafting"));
    advance(2);

    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Sounds good, see you at 3!"));
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    screenshot(QStringLiteral("loop-inserted"));
    const QString prompt = draftRequestUser(*server);
    EXPECT_TRUE(prompt.contains(QStringLiteral("tell her three works for me"))) << prompt.toStdString();
    EXPECT_TRUE(log->contains(QStringLiteral("Listening (hold, reply)")));
    EXPECT_TRUE(log->contains(QStringLiteral("Insert outcome: inserted(verified: true)")));

    // The promise in the reply is offered for Memory, so the overlay stays long enough to click it.
    ASSERT_EQ(overlay().offers().size(), 1u);
    advance(6.5);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(2.5);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopFlowTest, APromiseInTheReplyIsOfferedAndSavedToMemory) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sure, I'll send you the deck by Friday."));
    dictate(QStringLiteral("say I'll send her the deck by Friday"));

    ASSERT_EQ(shown(), OverlayPhase::inserted);
    ASSERT_FALSE(overlay().offers().empty());
    screenshot(QStringLiteral("loop-inserted-offers"));
    const SaveOffer offer = overlay().offers().front();
    const auto* promise = std::get_if<SaveOffer::CommitmentKind>(&offer.kind);
    ASSERT_NE(promise, nullptr);
    ASSERT_TRUE(promise->due.has_value());
    // The Friday of the run's clock (Monday 2 March 2026), not of the week the tests happen to run in.
    EXPECT_EQ(promise->due->toLocalTime().date(), QDate(2026, 3, 6));
    overlay().onAcceptOffer(offer);
    EXPECT_TRUE(overlay().savedOffers().contains(offer.id));
    ASSERT_EQ(app->memory.commitments().size(), 1);
    EXPECT_EQ(app->memory.commitments().front().text, promise->text);
    overlay().onAcceptOffer(offer); // a second click saves nothing more
    overlay().onAcceptOffer(SaveOffer::pin(QStringLiteral("Never offered"), std::nullopt, std::nullopt));
    EXPECT_EQ(app->memory.commitments().size(), 1);
    EXPECT_TRUE(app->memory.pins().isEmpty());
    // With an offer left the overlay waits for it; once every offer is saved it goes soon.
    ASSERT_EQ(overlay().offers().size(), 2u);
    advance(5.9);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    overlay().onAcceptOffer(overlay().offers().back());
    advance(1.3);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopFlowTest, WhatTheUserReallySentIsLearnedEvenWhenTheNextDictationBeginsFirst) {
    learnFromEdits(true);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sounds good, see you at 3!"));
    dictate(QStringLiteral("tell her three works"));
    ASSERT_TRUE(app->sentWatcher.isWatching());

    const QString edited = QStringLiteral("Sounds good, see you at 3 in the big room!");
    desktop.change(chat.composer, [&](FakeDesktop::Element& field) { field.value = edited; });
    advance(1);
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.value = QString(); }); // sent
    holdBegins(); // before the watcher's next look at the field
    EXPECT_EQ(app->style.profile().learnedExamples, QStringList{edited});
    EXPECT_FALSE(app->sentWatcher.isWatching());
}

TEST_F(ReplyLoopFlowTest, ANewDictationEndsTheWatchOfTheLastReply) {
    learnFromEdits(true);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sounds good, see you at 3!"));
    dictate(QStringLiteral("tell her three works"));
    ASSERT_TRUE(app->sentWatcher.isWatching());
    holdBegins(); // the reply is still in the field, unsent
    EXPECT_FALSE(app->sentWatcher.isWatching());
    EXPECT_TRUE(app->style.profile().learnedExamples.isEmpty());
}

TEST_F(ReplyLoopFlowTest, APersonSavedInOneDictationIsNotLinkedToTheNextOnesPromise) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sure, I'll send you the deck by Friday."));
    dictate(QStringLiteral("say I'll send her the deck by Friday"));
    const auto isPerson = [](const SaveOffer& offer) { return std::holds_alternative<SaveOffer::PersonKind>(offer.kind); };
    const auto person = std::find_if(overlay().offers().begin(), overlay().offers().end(), isPerson);
    ASSERT_NE(person, overlay().offers().end());
    overlay().onAcceptOffer(*person);
    ASSERT_EQ(app->memory.people().size(), 1);

    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{21, 0});
    serverDrafts(QStringLiteral("I'll call the bank tomorrow."));
    dictate(QStringLiteral("note that I'll call the bank tomorrow"));
    ASSERT_FALSE(overlay().offers().empty());
    overlay().onAcceptOffer(overlay().offers().front());
    ASSERT_EQ(app->memory.commitments().size(), 1);
    EXPECT_EQ(app->memory.commitments().front().personID, std::nullopt);
}

TEST_F(ReplyLoopFlowTest, NothingIsWatchedWhileLearningIsOffAndWithNothingToSaveTheOverlayGoesSoon) {
    learnFromEdits(false);
    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{21, 0});
    serverDrafts(QStringLiteral("Sounds good."));
    holdBegins();
    say(QStringLiteral("say sounds good"));
    release();
    advanceUntilShown(OverlayPhase::inserted);
    EXPECT_FALSE(app->sentWatcher.isWatching());
    ASSERT_TRUE(overlay().offers().empty());
    advance(1.7);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopFlowTest, ATapListensHandsFreeUntilTheNextPress) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Yes, Thursday is fine."));
    tap();
    EXPECT_EQ(loop().phase(), TriggerLogic::Phase::listening(ListenMode::handsFree, press));
    EXPECT_TRUE(overlay().handsFree());
    say(QStringLiteral("say Thursday is fine"));

    ++press; // the finishing press: its own hold and release must not start anything
    loop().handle(HotkeyEvent::down(press));
    loop().handle(HotkeyEvent::holdBegan(press, false));
    loop().handle(HotkeyEvent::up(press, 0.2, false));
    settle();
    EXPECT_EQ(loop().phase().kind, Kind::busy);
    advance(3);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Yes, Thursday is fine."));
    EXPECT_EQ(engine.sessionCount(), 1);
}

TEST_F(ReplyLoopFlowTest, AShortHoldKeepsListeningHandsFree) {
    desktop.focus(chat.composer);
    holdBegins();
    release(0.2);
    EXPECT_EQ(loop().phase(), TriggerLogic::Phase::listening(ListenMode::handsFree, std::nullopt));
    EXPECT_TRUE(microphone.isRecording());
}

TEST_F(ReplyLoopFlowTest, AFieldThatIgnoresThePasteKeepsTheDraftPendingForTwoMinutes) {
    app->settings.setShowsDraftDetails(true);
    focusFieldThatIgnoresPastes(chat.composer);
    serverDrafts(QStringLiteral("On my way."));
    dictate(QStringLiteral("tell him I'm on my way"));

    ASSERT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(shown(), OverlayPhase::pending);
    EXPECT_EQ(overlay().pendingDraft(), QStringLiteral("On my way."));
    screenshot(QStringLiteral("loop-pending"));
    ASSERT_FALSE(app->draftDetails.sessions().isEmpty());
    EXPECT_TRUE(app->draftDetails.sessions().front().outcome->startsWith(QStringLiteral("Waiting: ")));

    advance(115);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    advance(5);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Dismissed without inserting"));
}

TEST_F(ReplyLoopFlowTest, APendingDraftGoesInWhenTheUserPicksAFieldAndPressesTheKey) {
    app->settings.setShowsDraftDetails(true);
    desktop.clearFront();
    serverDrafts(QStringLiteral("Thanks, got it."));
    dictate(QStringLiteral("say thanks got it"));
    ASSERT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(overlay().pendingNote(), std::nullopt);
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Waiting: no text field had focus"));

    desktop.focus(chat.composer);
    ++press;
    loop().handle(HotkeyEvent::down(press));
    loop().handle(HotkeyEvent::holdBegan(press, false)); // the same press: consumed, starts nothing
    advance(1);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Thanks, got it."));
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    const DraftDetails record = app->draftDetails.sessions().front();
    EXPECT_EQ(record.outcome, QStringLiteral("Inserted after you picked the field"));
    EXPECT_EQ(record.lineBreaks, QStringLiteral("None in this text"));
}

TEST_F(ReplyLoopFlowTest, TheDetailsButtonOpensTheRecordAndPutsAwayAllButAPendingDraft) {
    int opened = 0;
    QObject::connect(&loop(), &ReplyLoop::draftDetailsRequested, [&] { ++opened; });
    desktop.clearFront();
    serverDrafts(QStringLiteral("Noted."));
    dictate(QStringLiteral("say noted"));
    ASSERT_EQ(shown(), OverlayPhase::pending);
    overlay().onShowDetails();
    settle();
    EXPECT_EQ(shown(), OverlayPhase::pending) << "the draft still waits to be inserted or copied";

    desktop.focus(chat.composer);
    overlay().onInsertPending();
    advance(1);
    ASSERT_EQ(shown(), OverlayPhase::inserted);
    overlay().onShowDetails();
    settle();
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(opened, 2);
}

TEST_F(ReplyLoopFlowTest, InsertingAPendingDraftThatCannotBeConfirmedKeepsItWithANote) {
    desktop.clearFront();
    serverDrafts(QStringLiteral("Noted."));
    dictate(QStringLiteral("say noted"));
    overlay().onInsertPending();
    advance(1);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(overlay().pendingNote(), QStringLiteral("Click into a text field first, then tap Right Alt."));

    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.exposesValue = false; });
    desktop.focus(chat.composer);
    overlay().onInsertPending();
    advance(1);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(overlay().pendingNote(), QStringLiteral("If the reply isn't in the field, click it and press Insert."));
}

TEST_F(ReplyLoopFlowTest, CopyingAPendingDraftPutsItOnTheClipboard) {
    app->settings.setShowsDraftDetails(true);
    desktop.clearFront();
    serverDrafts(QStringLiteral("See you soon."));
    dictate(QStringLiteral("say see you soon"));
    overlay().onCopyPending();
    EXPECT_EQ(desktop.clipboard()->plainText, QStringLiteral("See you soon."));
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Copied the draft"));
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Copied instead of inserted"));
    EXPECT_EQ(overlay().pendingDraft(), std::nullopt);
    screenshot(QStringLiteral("loop-copied"));
    advance(2.4);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopFlowTest, AReplyToTheSelectedTextWaitsForTheUserToPlaceItRatherThanPasteOverIt) {
    const QString quoted = QStringLiteral("Ana: are you joining the call at 3?");
    desktop.change(chat.composer, [&](FakeDesktop::Element& field) { field.value = quoted; });
    desktop.focus(chat.composer);
    desktop.select(chat.composer, TextRange{0, qsizetype(quoted.size())});
    serverDrafts(QStringLiteral("Yes, I'll be there."));
    dictate(QStringLiteral("say yes I'll be there"));

    ASSERT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(desktop.valueOf(chat.composer), quoted);
    EXPECT_EQ(overlay().pendingNote(),
              QStringLiteral("Draft ready. Click where the reply goes so your selection stays, then tap Right Alt."));
    desktop.select(chat.composer, TextRange{qsizetype(quoted.size()), 0});
    overlay().onInsertPending();
    advance(1);
    EXPECT_EQ(desktop.valueOf(chat.composer), quoted + QStringLiteral("Yes, I'll be there."));
}

TEST_F(ReplyLoopFlowTest, EscapeDuringDraftingShowsNoErrorAndInsertsNothing) {
    desktop.focus(chat.composer);
    holdBegins();
    say(QStringLiteral(" tell her yes\n")); // the overlay shows the words trimmed once listening ends
    release();
    advance(0.45);
    EXPECT_TRUE(microphone.isRecording()) << "the recognizer still settles the last words";
    advance(0.1);
    EXPECT_FALSE(microphone.isRecording());
    advance(0.45); // the drafting call waits for the server
    ASSERT_EQ(server->waitingCount(), 1);
    EXPECT_EQ(shown(), OverlayPhase::drafting);
    EXPECT_EQ(overlay().transcript(), QStringLiteral("tell her yes"));
    escape();
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    serverDrafts(QStringLiteral("Yes!"));
    server->respond(FakeHttpTransport::json(200, R"({"text":"Yes!"})"));
    advance(2);
    EXPECT_EQ(desktop.valueOf(chat.composer), QString());
    for (const QString& line : log->lines())
        EXPECT_FALSE(line.startsWith(QStringLiteral("Draft failed")));
}

TEST_F(ReplyLoopFlowTest, EscapeWithNothingShownDoesNothing) {
    escape();
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    for (const QString& line : log->lines())
        EXPECT_FALSE(line.startsWith(QStringLiteral("Cancelled")));
}

TEST_F(ReplyLoopFlowTest, ADraftingErrorOffersARetryThatWorks) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    server->enqueue(FakeHttpTransport::json(500, R"({"error":"boom"})"));
    dictate(QStringLiteral("tell her yes"));

    ASSERT_TRUE(overlay().message());
    EXPECT_EQ(overlay().message()->kind, OverlayMessage::Kind::error);
    EXPECT_EQ(overlay().message()->action, OverlayAction::retry());
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, overlay().message()->title);
    screenshot(QStringLiteral("loop-draft-error"));

    serverDrafts(QStringLiteral("Yes, works for me."));
    overlay().onAction(OverlayAction::retry());
    advance(2);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Yes, works for me."));
    ASSERT_EQ(app->draftDetails.sessions().size(), 2);
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Inserted"));
    EXPECT_EQ(app->draftDetails.sessions().front().dictation, QStringLiteral("tell her yes"));
}

TEST_F(ReplyLoopFlowTest, SpeechThatRunsThirtySecondsIsFinishedAsIfReleased) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Okay."));
    holdBegins();
    say(QStringLiteral("say okay"));
    advance(29.5);
    EXPECT_TRUE(loop().phase().isListening());
    advance(1);
    EXPECT_NE(loop().phase().kind, Kind::listening);
    EXPECT_TRUE(log->contains(QStringLiteral("Speech cap reached (30s)")));
    advance(3);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Okay."));
}

TEST_F(ReplyLoopFlowTest, TooLittleSpeechSaysWhatWentWrongByTheLevelHeard) {
    desktop.focus(chat.composer);
    holdBegins();
    microphone.hear(1, 0.001f);
    engine.session()->hearFinal(QStringLiteral("a"));
    release();
    advance(1);
    ASSERT_TRUE(overlay().message());
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Didn't hear anything"));
    EXPECT_TRUE(server->requests().empty());

    holdBegins();
    say(QStringLiteral(" b "), 0.5f);
    release();
    advance(1);
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Didn't catch that"));

    holdBegins();
    say(QStringLiteral("👍"), 0.5f); // two UTF-16 units, one character
    release();
    advance(1);
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Didn't catch that"));
    EXPECT_TRUE(server->requests().empty());

    holdBegins();
    say(QStringLiteral("ok"));
    release();
    advance(1);
    EXPECT_EQ(server->waitingCount(), 1) << "two characters are worth a draft";
}

TEST_F(ReplyLoopFlowTest, TheDraftRecordDescribesTheWholeDictation) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Line one.\nLine two."));
    dictate(QStringLiteral("tell her line one and line two"));

    ASSERT_EQ(app->draftDetails.sessions().size(), 1);
    const DraftDetails record = app->draftDetails.sessions().front();
    EXPECT_EQ(record.kind, DraftDetails::Kind::reply);
    EXPECT_EQ(record.outcome, QStringLiteral("Inserted"));
    ASSERT_TRUE(record.field);
    EXPECT_EQ(record.field->app, QStringLiteral("Slack"));
    EXPECT_EQ(record.field->surface, Surface::chat);
    EXPECT_EQ(record.field->editable, QStringLiteral("editable"));
    ASSERT_TRUE(record.conversation);
    EXPECT_EQ(record.conversation->status, DraftDetails::Conversation::Status::found);
    EXPECT_EQ(record.conversation->source, QStringLiteral("read from the screen"));
    EXPECT_TRUE(record.conversation->sent);
    ASSERT_TRUE(record.recipient);
    EXPECT_EQ(record.dictation, QStringLiteral("tell her line one and line two"));
    EXPECT_EQ(record.speech, QStringLiteral("This computer, 1.5 s"));
    ASSERT_TRUE(record.result);
    EXPECT_EQ(record.result->model, QStringLiteral("anthropic/claude-test"));
    EXPECT_EQ(record.lineBreaks, QStringLiteral("1 of 1 arrived in the field"));
    EXPECT_EQ(record.userName, QStringLiteral("Bob Stone"));
}

TEST_F(ReplyLoopFlowTest, SwitchingContextOffInTheOverlayKeepsTheThreadOutOfThePrompt) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sure."));
    holdBegins();
    ASSERT_TRUE(overlay().contextEnabled());
    overlay().onToggleContext();
    EXPECT_EQ(app->listeningDebug.model().thread().left(15), QStringLiteral("Context is off,"));
    say(QStringLiteral("say sure"));
    release();
    advance(3);
    const DraftDetails record = app->draftDetails.sessions().front();
    ASSERT_TRUE(record.conversation);
    EXPECT_FALSE(record.conversation->sent);
}

} // namespace
} // namespace lumeno
