// A draft that found no field to go in waits in the overlay: for two minutes, for the user to insert it
// with the key or the button, to copy it, or to look at its record.
#include "LoopHarness.h"

namespace lumeno {
namespace {

using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;

class ReplyLoopPendingTest : public LoopHarness {
protected:
    ReplyLoopPendingTest() { app->settings.setShowsDraftDetails(true); }

    // Dictates a draft with no text field focused, so it waits.
    void draftWithoutAField() {
        desktop.clearFront();
        serverDrafts(QStringLiteral("On my way."));
        dictate(QStringLiteral("tell him I'm on my way"));
        ASSERT_EQ(loop().phase().kind, Kind::pending);
    }
    // A draft left pending because the chat's field swallows the paste; every Insert then spends the
    // whole check (eight looks, 0.15 s apart) before it gives up.
    void draftPendingInAFieldThatIgnoresThePaste() {
        focusFieldThatIgnoresPastes(chat.composer);
        serverDrafts(QStringLiteral("On my way."));
        dictate(QStringLiteral("tell him I'm on my way"));
        ASSERT_EQ(loop().phase().kind, Kind::pending);
    }
    QString outcome() { return app->draftDetails.sessions().value(0).outcome.value_or(QString()); }

    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
};

TEST_F(ReplyLoopPendingTest, TheDraftWaitsTwoMinutesAndThenGoes) {
    draftPendingInAFieldThatIgnoresThePaste();
    EXPECT_EQ(shown(), OverlayPhase::pending);
    EXPECT_EQ(overlay().pendingDraft(), QStringLiteral("On my way."));
    EXPECT_EQ(overlay().pendingNote(), QStringLiteral("If the reply isn't in the field, click it and press Insert."));
    EXPECT_EQ(outcome(), QStringLiteral("Waiting: If the reply isn't in the field, click it and press Insert."));
    screenshot(QStringLiteral("loop-pending"));

    advance(115);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    advance(5);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(outcome(), QStringLiteral("Dismissed without inserting"));
}

TEST_F(ReplyLoopPendingTest, ThePressThatInsertsTheDraftIsSpentAndTheRecordAmended) {
    draftWithoutAField();
    EXPECT_EQ(overlay().pendingNote(), std::nullopt);
    EXPECT_EQ(outcome(), QStringLiteral("Waiting: no text field had focus"));

    desktop.focus(chat.composer);
    ++press;
    loop().handle(HotkeyEvent::down(press));
    loop().handle(HotkeyEvent::holdBegan(press, false)); // the same press: consumed, starts nothing
    advance(1);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("On my way."));
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    EXPECT_EQ(engine.sessionCount(), 1);
    EXPECT_EQ(outcome(), QStringLiteral("Inserted after you picked the field"));
    EXPECT_EQ(app->draftDetails.sessions().front().lineBreaks, QStringLiteral("None in this text"));
}

TEST_F(ReplyLoopPendingTest, AnInsertThatFailsKeepsTheDraftWithANoteForTheRestOfItsTwoMinutes) {
    draftWithoutAField();
    advance(60);
    overlay().insertPending();
    advance(1);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(overlay().pendingNote(), QStringLiteral("Click into a text field first, then tap Right Alt."));
    advance(56);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    advance(2);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
}

TEST_F(ReplyLoopPendingTest, ATimeOutDuringAnInsertThatFailsDismissesTheDraft) {
    draftPendingInAFieldThatIgnoresThePaste();
    // The draft went pending about 1.3 s into the dictation's last three seconds: its two minutes end
    // some 118 s from here, while the Insert started at 117.5 s is still checking its paste.
    advance(117.5);
    overlay().insertPending();
    settle();
    ASSERT_EQ(loop().phase().kind, Kind::busy);
    for (int step = 0; step < 60 && loop().phase().kind == Kind::busy; ++step)
        advance(0.05);
    EXPECT_TRUE(log->contains(QStringLiteral("Pending insert outcome: needsTarget(unconfirmed)")));
    EXPECT_EQ(loop().phase().kind, Kind::idle) << "the insert that failed ends the draft whose time was up";
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(outcome(), QStringLiteral("Dismissed without inserting"));
}

TEST_F(ReplyLoopPendingTest, CopyWhileAnInsertIsTryingEndsTheInsertAndTheNextPressListens) {
    draftPendingInAFieldThatIgnoresThePaste();
    overlay().insertPending();
    settle();
    ASSERT_EQ(loop().phase().kind, Kind::busy); // the paste is being checked

    overlay().copyPending();
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Copied the draft"));
    screenshot(QStringLiteral("loop-copied"));
    advance(2.3);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::message);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(overlay().pendingDraft(), std::nullopt);
    EXPECT_EQ(desktop.clipboard()->plainText, QStringLiteral("On my way."));
    EXPECT_EQ(outcome(), QStringLiteral("Copied instead of inserted"));
    holdBegins(); // a new dictation, not an Insert of a draft that is gone
    EXPECT_TRUE(loop().phase().isListening());
}

TEST_F(ReplyLoopPendingTest, TheDetailsButtonOpensTheRecordAndPutsAwayAllButAPendingDraft) {
    int opened = 0;
    QObject::connect(&loop(), &ReplyLoop::draftDetailsRequested, [&] { ++opened; });
    draftWithoutAField();
    overlay().showDetails();
    settle();
    EXPECT_EQ(shown(), OverlayPhase::pending) << "the draft still waits to be inserted or copied";

    desktop.focus(chat.composer);
    overlay().insertPending();
    advance(1);
    ASSERT_EQ(shown(), OverlayPhase::inserted);
    overlay().showDetails();
    settle();
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(opened, 2);
}

TEST_F(ReplyLoopPendingTest, AReplyToTheSelectedTextWaitsForTheUserToPlaceItRatherThanPasteOverIt) {
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
    overlay().insertPending(); // the user's own Insert goes where they say, over the selection too
    advance(1);
    EXPECT_EQ(desktop.valueOf(chat.composer), QStringLiteral("Yes, I'll be there."));
}

} // namespace
} // namespace lumeno
