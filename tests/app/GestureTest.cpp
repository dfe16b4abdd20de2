// The gestures of one hot key, from keys on the fake keyboard through the hot-key service into the reply
// loop: what each press starts, finishes or leaves alone.
#include "LoopHarness.h"

#include "platform/VirtualKeyCodes.h"

namespace lumeno {
namespace {

using namespace VirtualKey;
using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;
using Phase = TriggerLogic::Phase;

class GestureTest : public LoopHarness {
protected:
    GestureTest() {
        QObject::connect(&app->hotkeys, &HotkeyService::hotkeyEvent, [this](const HotkeyEvent& event) { loop().handle(event); });
        app->hotkeys.start(Hotkey());
        desktop.focus(chat.composer);
    }

    // Holds right Alt for `seconds` of manual time, the loop running meanwhile.
    void hold(double seconds) {
        keyboard.press(rightOption);
        advance(seconds);
        keyboard.release(rightOption);
        settle();
    }

    FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
};

TEST_F(GestureTest, AShortHoldTurnsIntoHandsFreeAndTheNextPressFinishes) {
    hold(0.3);
    EXPECT_EQ(loop().phase(), Phase::listening(ListenMode::handsFree, std::nullopt));
    EXPECT_TRUE(overlay().handsFree());
    say(QStringLiteral("tell her yes"));
    keyboard.press(rightOption);
    settle();
    EXPECT_EQ(loop().phase().kind, Kind::busy);
}

TEST_F(GestureTest, TheFinishingPressIsSpentEvenWhenTheDictationEndsBeforeItsRelease) {
    hold(0.05);
    ASSERT_EQ(loop().phase(), Phase::listening(ListenMode::handsFree, 1));
    hold(0.35); // nothing was said: the loop is idle again before the key comes up
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Didn't hear anything"));
    EXPECT_EQ(loop().phase().kind, Kind::idle) << "the release of the finishing press is no new tap";
    EXPECT_EQ(engine.sessionCount(), 1);
}

TEST_F(GestureTest, TypingWithTheKeyHeldCancelsAndStartsNothing) {
    keyboard.press(rightOption);
    advance(0.2);
    ASSERT_TRUE(loop().phase().isListening());
    keyboard.tap(ansiA);
    advance(0.1);
    keyboard.release(rightOption);
    settle();
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_TRUE(engine.session()->isCancelled());
}

TEST_F(GestureTest, EscapeEndsHandsFreeListeningAndPutsEverythingAway) {
    app->settings.setShowsDraftDetails(true);
    hold(0.05);
    ASSERT_TRUE(loop().phase().isListening());
    ASSERT_TRUE(app->listeningDebug.isVisible());
    keyboard.tap(VirtualKey::escape);
    settle();
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_FALSE(app->listeningDebug.isVisible());
    EXPECT_TRUE(engine.session()->isCancelled());
    EXPECT_FALSE(microphone.isRecording());
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Cancelled"));
}

TEST_F(GestureTest, AHoldReadOnlyAfterTheProgramWasStoppedStartsNoListeningWhileATapReadSoStillDoes) {
    // The program was stopped (or busy) while the user held the key for a second: both events come at once,
    // and the desktop's times say it was a hold, whose listening has passed.
    keyboard.setTime(10000);
    keyboard.press(rightOption);
    keyboard.setTime(11000);
    keyboard.release(rightOption);
    settle();
    advance(1);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(engine.sessionCount(), 0);
    EXPECT_FALSE(microphone.isRecording());

    keyboard.setTime(20000);
    keyboard.press(rightOption);
    keyboard.setTime(20080);
    keyboard.release(rightOption);
    settle();
    EXPECT_EQ(loop().phase(), Phase::listening(ListenMode::handsFree, 2));
    EXPECT_TRUE(microphone.isRecording());
}

} // namespace
} // namespace lumeno
