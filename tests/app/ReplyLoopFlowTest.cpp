// Whole dictations from the hot key to the field, on the fake desktop: hold and tap, pasting, the draft
// record, save offers, learning from what was sent, drafting errors, and cancelling.
#include "LoopHarness.h"

namespace lumeno {
namespace {

using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;

class ReplyLoopFlowTest : public LoopHarness {
protected:
    void learnFromEdits(bool on) {
        StyleProfile profile = app->style.profile();
        profile.learnFromEdits = on;
        app->style.setProfile(profile);
    }
    DraftDetails lastRecord() { return app->draftDetails.sessions().value(0); }

    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
};

TEST_F(ReplyLoopFlowTest, HoldingTheKeyListensDraftsPastesAndRecordsEachStep) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    QString drafted;
    QObject::connect(&loop(), &ReplyLoop::drafted, [&](const QString& text) { drafted = text; });

    holdBegins();
    EXPECT_EQ(loop().phase(), TriggerLogic::Phase::listening(ListenMode::hold, press));
    EXPECT_EQ(shown(), OverlayPhase::listening);
    EXPECT_EQ(overlay().hotkeyName(), QStringLiteral("Right Alt"));
    EXPECT_EQ(overlay().contextBadge(), QStringLiteral("Conversation"));
    say(QStringLiteral(" tell her three works for me\n"));
    EXPECT_EQ(overlay().transcript(), QStringLiteral(" tell her three works for me\n"));
    screenshot(QStringLiteral("loop-listening"));

    release();
    EXPECT_EQ(shown(), OverlayPhase::transcribing);
    advance(0.45);
    EXPECT_TRUE(microphone.isRecording()) << "the recognizer still settles the last words";
    advance(0.1);
    EXPECT_FALSE(microphone.isRecording());
    EXPECT_EQ(shown(), OverlayPhase::drafting);
    EXPECT_EQ(overlay().transcript(), QStringLiteral("tell her three works for me"));
    screenshot(QStringLiteral("loop-drafting"));
    ASSERT_EQ(server->waitingCount(), 1);
    server->respond(FakeHttpTransport::json(
        200, R"({"text":"Sounds good,\nsee you at 3!","provider":"anthropic","model":"claude-test"})"));
    advanceUntilShown(OverlayPhase::inserted);

    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Sounds good,\nsee you at 3!"));
    EXPECT_EQ(overlay().insertedNote(), std::nullopt) << "a chat has its Send button: the usual words";
    EXPECT_EQ(drafted, QStringLiteral("Sounds good,\nsee you at 3!"));
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    screenshot(QStringLiteral("loop-inserted"));

    ASSERT_EQ(app->draftDetails.sessions().size(), 1);
    const DraftDetails record = lastRecord();
    EXPECT_EQ(record.kind, DraftDetails::Kind::reply);
    EXPECT_EQ(record.outcome, QStringLiteral("Inserted"));
    ASSERT_TRUE(record.field && record.conversation && record.recipient && record.result && record.style);
    EXPECT_EQ(record.field->app, QStringLiteral("Slack"));
    EXPECT_EQ(record.field->surface, Surface::chat);
    EXPECT_EQ(record.field->editable, QStringLiteral("editable"));
    EXPECT_EQ(record.conversation->source, QStringLiteral("read from the screen"));
    EXPECT_TRUE(record.conversation->sent);
    EXPECT_EQ(record.recipient->name, QStringLiteral("Ana Novak"));
    EXPECT_EQ(record.dictation, QStringLiteral("tell her three works for me"));
    EXPECT_EQ(record.speech, QStringLiteral("This computer, 1.5 s"));
    EXPECT_EQ(record.result->model, QStringLiteral("anthropic/claude-test"));
    EXPECT_TRUE(record.result->userPrompt.contains(QStringLiteral("tell her three works for me")));
    EXPECT_EQ(record.lineBreaks, QStringLiteral("1 of 1 arrived in the field"));
    EXPECT_EQ(record.userName, QStringLiteral("Bob Stone"));

    // The promise in the reply is offered for Memory, so the overlay stays long enough to click it.
    ASSERT_EQ(overlay().offers().size(), 1u);
    advance(8.9);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}


TEST_F(ReplyLoopFlowTest, AReplyPlacedInATextEditorIsNotSaidToBeSent) {
    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    serverDrafts(QStringLiteral("Milk, eggs and bread."));
    holdBegins();
    say(QStringLiteral("add bread"));
    release();
    advanceUntilShown(OverlayPhase::inserted);
    EXPECT_TRUE(desktop.valueOf(notes.text).contains(QStringLiteral("Milk, eggs and bread.")));
    EXPECT_EQ(overlay().insertedNote(), QStringLiteral("Inserted. Review it.")) << "a text editor has no Send";
    screenshot(QStringLiteral("loop-inserted-in-an-editor"));
}
TEST_F(ReplyLoopFlowTest, WhatTheReplyPromisesIsOfferedAndSavedToMemoryButNotLinkedToTheNextDictation) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sure, I'll send you the deck by Friday."));
    dictate(QStringLiteral("say I'll send her the deck by Friday"));

    ASSERT_EQ(overlay().offers().size(), 2u);
    screenshot(QStringLiteral("loop-inserted-offers"));
    const auto* promise = std::get_if<SaveOffer::CommitmentKind>(&overlay().offers().front().kind);
    ASSERT_NE(promise, nullptr);
    // The Friday of the run's clock (Monday 2 March 2026), not of the week the tests happen to run in.
    ASSERT_TRUE(promise->due.has_value());
    EXPECT_EQ(promise->due->toLocalTime().date(), QDate(2026, 3, 6));
    const SaveOffer person = overlay().offers().back();
    ASSERT_TRUE(std::holds_alternative<SaveOffer::PersonKind>(person.kind));
    overlay().acceptOffer(person);
    overlay().acceptOffer(person); // a second click saves nothing more
    overlay().acceptOffer(SaveOffer::pin(QStringLiteral("Never offered"), std::nullopt, std::nullopt));
    EXPECT_EQ(app->memory.people().size(), 1);
    EXPECT_TRUE(app->memory.pins().isEmpty());
    // With an offer left the overlay waits six seconds for it.
    advance(5.9);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);

    const FakeScenes::Notes notes = FakeScenes::notes(desktop);
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{21, 0});
    serverDrafts(QStringLiteral("I'll call the bank tomorrow."));
    dictate(QStringLiteral("note that I'll call the bank tomorrow"));
    ASSERT_EQ(overlay().offers().size(), 1u);
    const auto* call = std::get_if<SaveOffer::CommitmentKind>(&overlay().offers().front().kind);
    ASSERT_NE(call, nullptr);
    overlay().acceptOffer(overlay().offers().front());
    ASSERT_EQ(app->memory.commitments().size(), 1);
    EXPECT_EQ(app->memory.commitments().front().text, call->text);
    EXPECT_EQ(app->memory.commitments().front().personID, std::nullopt) << "not the person saved before";
    // Once every offer is saved the overlay goes soon.
    advance(1.3);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopFlowTest, ANoteToSelfIsOfferedAsAPinAndNeverSentForTheReply) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Thursday works for me!"));
    const std::size_t before = server->requests().size();
    dictate(QStringLiteral("Tell her Thursday works. Note to self: Ana's gate code is 4471."));

    ASSERT_EQ(server->requests().size(), before + 1);
    const QString sent = QString::fromUtf8(server->requests().back().body);
    EXPECT_TRUE(sent.contains(QStringLiteral("Tell her Thursday works."))) << sent.toStdString();
    EXPECT_FALSE(sent.contains(QStringLiteral("4471"))) << sent.toStdString();
    EXPECT_FALSE(sent.contains(QStringLiteral("ote to self"))) << sent.toStdString();
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Thursday works for me!"));
    const DraftDetails record = lastRecord();
    EXPECT_EQ(record.dictation, QStringLiteral("Tell her Thursday works. Note to self: Ana's gate code is 4471."))
        << "the record keeps all the user said";
    ASSERT_TRUE(record.result);
    EXPECT_FALSE(record.result->userPrompt.contains(QStringLiteral("4471")));

    ASSERT_EQ(shown(), OverlayPhase::inserted);
    const auto& offers = overlay().offers();
    const auto pin = std::find_if(offers.begin(), offers.end(), [](const SaveOffer& offer) {
        return std::holds_alternative<SaveOffer::PinKind>(offer.kind);
    });
    ASSERT_NE(pin, offers.end());
    EXPECT_EQ(std::get<SaveOffer::PinKind>(pin->kind).text, QStringLiteral("Ana's gate code is 4471"));
    overlay().acceptOffer(*pin);
    ASSERT_EQ(app->memory.pins().size(), 1);
    EXPECT_EQ(app->memory.pins().front().text, QStringLiteral("Ana's gate code is 4471"));

    // A retry drafts the same reply, still without the note.
    serverDrafts(QStringLiteral("Thursday works!"));
    loop().retry();
    advance(3);
    EXPECT_FALSE(QString::fromUtf8(server->requests().back().body).contains(QStringLiteral("4471")));
}

TEST_F(ReplyLoopFlowTest, ADictationThatIsOnlyANoteDraftsNothingAndOffersThePin) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    const std::size_t before = server->requests().size();
    dictate(QStringLiteral("Note to self: Ana's gate code is 4471."));

    EXPECT_EQ(server->requests().size(), before) << "nothing to draft, nothing sent";
    EXPECT_EQ(desktop.valueOf(chat.composer), QString());
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    ASSERT_EQ(shown(), OverlayPhase::inserted);
    EXPECT_EQ(overlay().insertedNote(), QStringLiteral("Only a note to self, so nothing was drafted."));
    ASSERT_EQ(overlay().offers().size(), 1u) << "no person offer: nothing was written to anyone";
    const SaveOffer pin = overlay().offers().front();
    ASSERT_TRUE(std::holds_alternative<SaveOffer::PinKind>(pin.kind));
    EXPECT_EQ(std::get<SaveOffer::PinKind>(pin.kind).text, QStringLiteral("Ana's gate code is 4471"));
    screenshot(QStringLiteral("loop-note-only"));
    EXPECT_EQ(lastRecord().outcome, QStringLiteral("Only a note to self"));
    overlay().acceptOffer(pin);
    ASSERT_EQ(app->memory.pins().size(), 1);
    // The overlay waits for the offer as after a reply, then goes.
    advance(1.3);
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopFlowTest, WhatTheUserReallySentIsLearnedUntilTheNextDictationBegins) {
    learnFromEdits(true);
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Sounds good, see you at 3!"));
    dictate(QStringLiteral("tell her three works"));
    ASSERT_TRUE(app->sentWatcher.isWatching());
    holdBegins(); // the reply is still in the field, unsent: nothing to learn
    EXPECT_FALSE(app->sentWatcher.isWatching());
    EXPECT_TRUE(app->style.profile().learnedExamples.isEmpty());
    escape();

    serverDrafts(QStringLiteral("Sounds good, see you at 3!"));
    dictate(QStringLiteral("tell her three works"));
    const QString edited = QStringLiteral("Sounds good, see you at 3 in the big room!");
    desktop.change(chat.composer, [&](FakeDesktop::Element& field) { field.value = edited; });
    advance(1);
    desktop.change(chat.composer, [](FakeDesktop::Element& field) { field.value = QString(); }); // sent
    holdBegins(); // before the watcher's next look at the field
    EXPECT_EQ(app->style.profile().learnedExamples, QStringList{edited});
    EXPECT_FALSE(app->sentWatcher.isWatching());
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

TEST_F(ReplyLoopFlowTest, ATapListensHandsFreeAndTheFinishingPressStartsNothing) {
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

TEST_F(ReplyLoopFlowTest, SpeechThatRunsThirtySecondsIsFinishedAsIfReleased) {
    desktop.focus(chat.composer);
    serverDrafts(QStringLiteral("Okay."));
    holdBegins();
    say(QStringLiteral("say okay"));
    advance(29.5);
    EXPECT_TRUE(loop().phase().isListening());
    advance(1);
    EXPECT_FALSE(loop().phase().isListening());
    EXPECT_TRUE(log->contains(QStringLiteral("Speech cap reached (30s)")));
    advance(3);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Okay."));
}

// The cap of a dictation that was cancelled is gone with it: nothing of it stays waiting on the scheduler for
// the rest of its thirty seconds (nor for good, when the scheduler goes first at quit).
TEST_F(ReplyLoopFlowTest, ACancelledDictationLeavesNoSpeechCapWaiting) {
    desktop.focus(chat.composer);
    advance(1);
    const int idle = scheduler.pendingCount();
    holdBegins();
    say(QStringLiteral("never mind"));
    escape();
    advance(1);
    EXPECT_EQ(scheduler.pendingCount(), idle);
}

TEST_F(ReplyLoopFlowTest, TooLittleSpeechSaysWhatWentWrongByTheLevelHeard) {
    desktop.focus(chat.composer);
    const auto heard = [&](const QString& words, float amplitude) {
        holdBegins();
        microphone.hear(1, amplitude);
        engine.session()->hearFinal(words);
        release();
        advance(1);
        return overlay().message() ? overlay().message()->title : QString();
    };
    EXPECT_EQ(heard(QStringLiteral("a"), 0.001f), QStringLiteral("Didn't hear anything"));
    EXPECT_EQ(overlay().message()->detail, QStringLiteral("Hold Right Alt while you speak. If you did, check the "
                                                          "input in your desktop's sound settings."));
    EXPECT_EQ(heard(QStringLiteral("a"), 0.0064938163f), QStringLiteral("Didn't catch that"))
        << "a peak of exactly 0.25 is speech";
    EXPECT_EQ(heard(QStringLiteral(" b "), 0.5f), QStringLiteral("Didn't catch that"));
    EXPECT_EQ(heard(QStringLiteral("👍"), 0.5f), QStringLiteral("Didn't catch that")) << "one character";
    EXPECT_TRUE(server->requests().empty());
    heard(QStringLiteral("ok"), 0.5f);
    EXPECT_EQ(server->waitingCount(), 1) << "two characters are worth a draft";
}

TEST_F(ReplyLoopFlowTest, EscapeDuringDraftingShowsNoErrorAndInsertsNothing) {
    escape(); // with nothing shown: nothing to cancel
    EXPECT_FALSE(logged(QStringLiteral("Cancelled")));

    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    holdBegins();
    say(QStringLiteral("tell her yes"));
    release();
    advance(1);
    ASSERT_EQ(server->waitingCount(), 1);
    escape();
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(lastRecord().outcome, QStringLiteral("Cancelled"));
    server->respond(FakeHttpTransport::json(200, R"({"text":"Yes!"})"));
    advance(2);
    EXPECT_EQ(desktop.valueOf(chat.composer), QString());
    EXPECT_FALSE(logged(QStringLiteral("Draft failed")));
}

TEST_F(ReplyLoopFlowTest, ADraftingErrorOffersARetryThatWorks) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(chat.composer);
    server->enqueue(FakeHttpTransport::json(500, R"({"error":"boom"})"));
    dictate(QStringLiteral("tell her yes"));
    ASSERT_TRUE(overlay().message());
    EXPECT_EQ(overlay().message()->kind, OverlayMessage::Kind::error);
    EXPECT_EQ(overlay().message()->action, OverlayAction::retry());
    EXPECT_EQ(lastRecord().outcome, overlay().message()->title);
    screenshot(QStringLiteral("loop-draft-error"));

    // The server takes its time this once: until it answers, the panel says it is drafting. (An answer
    // waiting in advance can arrive before the first look, and the draft be in the field by then.)
    overlay().act(OverlayAction::retry());
    EXPECT_EQ(shown(), OverlayPhase::drafting);
    EXPECT_EQ(overlay().message(), std::nullopt);
    settle();
    ASSERT_TRUE(server->respond(draftAnswer(QStringLiteral("Yes, works for me."))));
    advance(2);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Yes, works for me."));
    ASSERT_EQ(app->draftDetails.sessions().size(), 2);
    EXPECT_EQ(lastRecord().outcome, QStringLiteral("Inserted"));
    EXPECT_EQ(lastRecord().dictation, QStringLiteral("tell her yes"));
}

TEST_F(ReplyLoopFlowTest, ThePersonPickedInTheOverlayOutlastsTheMatchAndIsRecordedAsPicked) {
    app->settings.setShowsDraftDetails(true);
    app->memory.addPerson(QStringLiteral("Ana Novak"), {}, QString());
    const Person marko = app->memory.addPerson(QStringLiteral("Marko Kovač"), {}, QString());
    desktop.focus(chat.composer);
    const auto pickThenDictate = [&](std::optional<QUuid> id) {
        serverDrafts(QStringLiteral("Sure."));
        ++press;
        loop().handle(HotkeyEvent::down(press));
        loop().handle(HotkeyEvent::holdBegan(press, false));
        overlay().pickPerson(id); // before the thread was read and matched to Ana
        settle();
        const std::optional<QString> badge = overlay().personBadge();
        EXPECT_EQ(overlay().personChoices().size(), 2u);
        const QStringList hints = engine.session()->hints(); // the names the recognizer should expect
        EXPECT_TRUE(hints.contains(QStringLiteral("Marko Kovač")) && hints.contains(QStringLiteral("Ana Novak")));
        EXPECT_EQ(hints.count(QStringLiteral("Bob Stone")), 1);
        say(QStringLiteral("say sure"));
        release();
        advance(3);
        return badge;
    };
    EXPECT_EQ(pickThenDictate(marko.id), QStringLiteral("Marko Kovač"));
    EXPECT_EQ(lastRecord().recipient->name, QStringLiteral("Marko Kovač"));
    EXPECT_EQ(lastRecord().recipient->how, QStringLiteral("Picked by you in the overlay"));
    EXPECT_TRUE(QString::fromUtf8(server->requests().back().body).contains(QStringLiteral("Marko Kovač")));

    app->settings.setHotkey(Hotkey::modifier(ModifierKey::rightControl));
    EXPECT_EQ(pickThenDictate(std::nullopt), std::nullopt) << "nobody, not even the thread's last author";
    EXPECT_EQ(overlay().hotkeyName(), QStringLiteral("Right Ctrl")) << "the key the user holds now";
    EXPECT_EQ(lastRecord().recipient->how, QStringLiteral("You chose No Person Card"));
}

} // namespace
} // namespace lumeno
