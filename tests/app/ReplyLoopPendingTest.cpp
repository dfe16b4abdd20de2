// A pending draft while the user acts on it: Copy or the two-minute time-out arriving while an Insert is
// still trying to paste.
#include "LoopHarness.h"

namespace lumeno {
namespace {

using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;

class ReplyLoopPendingTest : public LoopHarness {
protected:
    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);

    // A draft left pending because the chat's field swallows the paste; every Insert then spends the
    // whole check (eight looks, 0.15 s apart) before it gives up.
    void draftPendingInAFieldThatIgnoresThePaste() {
        app->settings.setShowsDraftDetails(true);
        focusFieldThatIgnoresPastes(chat.composer);
        serverDrafts(QStringLiteral("On my way."));
        dictate(QStringLiteral("tell him I'm on my way"));
        ASSERT_EQ(loop().phase().kind, Kind::pending);
    }
};

TEST_F(ReplyLoopPendingTest, CopyWhileAnInsertIsTryingEndsTheInsertAndTheNextPressListens) {
    draftPendingInAFieldThatIgnoresThePaste();
    overlay().onInsertPending();
    settle();
    ASSERT_EQ(loop().phase().kind, Kind::busy); // the paste is being checked

    overlay().onCopyPending();
    advance(3); // longer than the insert's whole check
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(overlay().pendingDraft(), std::nullopt);
    EXPECT_EQ(desktop.clipboard()->plainText, QStringLiteral("On my way."));
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Copied instead of inserted"));

    holdBegins(); // a new dictation, not an Insert of a draft that is gone
    EXPECT_TRUE(loop().phase().isListening());
}

TEST_F(ReplyLoopPendingTest, ATimeOutDuringAnInsertThatFailsDismissesTheDraft) {
    draftPendingInAFieldThatIgnoresThePaste();
    // The draft went pending about 1.3 s into the dictation's last three seconds: its two minutes end
    // some 118 s from here, while the Insert started at 117.5 s is still checking its paste.
    advance(117.5);
    ASSERT_EQ(loop().phase().kind, Kind::pending);
    overlay().onInsertPending();
    settle();
    ASSERT_EQ(loop().phase().kind, Kind::busy);

    for (int step = 0; step < 60 && loop().phase().kind == Kind::busy; ++step)
        advance(0.05);
    EXPECT_TRUE(log->contains(QStringLiteral("Pending insert outcome: needsTarget(unconfirmed)")));
    EXPECT_EQ(loop().phase().kind, Kind::idle) << "the insert that failed ends the draft whose time was up";
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Dismissed without inserting"));
}

TEST_F(ReplyLoopPendingTest, AnInsertThatFailsEarlierKeepsTheDraftForTheRestOfItsTwoMinutes) {
    draftPendingInAFieldThatIgnoresThePaste();
    advance(60);
    overlay().onInsertPending();
    advance(3);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_TRUE(overlay().pendingNote());
    advance(54);
    EXPECT_EQ(loop().phase().kind, Kind::pending);
    advance(3);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
}

} // namespace
} // namespace lumeno
