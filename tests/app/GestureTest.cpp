// The gestures of one hot key, from keys on the fake keyboard through the hot-key service to the trigger
// rule, with the reply loop's own bookkeeping of its phase and consumed press.
#include "app/TriggerLogic.h"
#include "voice/HotkeyHarness.h"

#include <gtest/gtest.h>

namespace lumeno {

void PrintTo(const TriggerLogic::Command& command, std::ostream* out);

namespace {

using namespace VirtualKey;
using Command = TriggerLogic::Command;
using Phase = TriggerLogic::Phase;
using Commands = std::vector<Command>;

// What the reply loop does with each command to its phase and consumed press; starting, drafting and
// inserting themselves are not here.
class GestureTest : public ::testing::Test, protected testing::HotkeyHarness {
protected:
    void SetUp() override {
        service.onEvent = [this](const HotkeyEvent& event) { handle(event); };
        service.start(Hotkey());
    }

    void handle(const HotkeyEvent& event) {
        const Command command = TriggerLogic::command(event, phase, consumed);
        if (command.kind != Command::Kind::ignore)
            commands.push_back(command);
        switch (command.kind) {
        case Command::Kind::beginHold:
            phase = Phase::listening(ListenMode::hold, command.press);
            editing = command.edit;
            break;
        case Command::Kind::beginHandsFree:
            phase = Phase::listening(ListenMode::handsFree, command.press);
            editing = command.edit;
            break;
        case Command::Kind::finish:
        case Command::Kind::insertPending:
            if (command.press)
                consumed = command.press;
            phase = Phase::busy();
            break;
        case Command::Kind::continueHandsFree:
            phase = Phase::listening(ListenMode::handsFree, std::nullopt);
            break;
        case Command::Kind::switchToEdit:
            editing = true;
            break;
        case Command::Kind::cancel:
            phase = Phase::idle();
            break;
        case Command::Kind::ignore:
            break;
        }
    }

    Commands takeCommands() { return std::exchange(commands, {}); }

    Phase phase = Phase::idle();
    std::optional<quint64> consumed;
    bool editing = false;
    Commands commands;
};

TEST_F(GestureTest, HoldToTalk) {
    hold(rightOption, 2.0);
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHold(1, false), Command::finish(std::nullopt)}));
    EXPECT_EQ(phase, Phase::busy());
}

TEST_F(GestureTest, TapStartsHandsFreeAndTheNextPressFinishesIt) {
    hold(rightOption, 0.05);
    EXPECT_EQ(phase, Phase::listening(ListenMode::handsFree, 1));
    scheduler.advance(4);
    hold(rightOption, 0.7); // however long the finishing press, its hold and release are spent
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHandsFree(1, false), Command::finish(2)}));
    EXPECT_EQ(consumed, 2u);
}

TEST_F(GestureTest, FinishingPressIsSpentEvenWhenTheDictationEndsAtOnce) {
    hold(rightOption, 0.05);
    keyboard.press(rightOption);
    phase = Phase::idle(); // nothing was heard: the loop is idle again before the key comes up
    scheduler.advance(0.1);
    keyboard.release(rightOption);
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHandsFree(1, false), Command::finish(2)}));
    EXPECT_EQ(phase, Phase::idle()) << "the release of the finishing press is no new tap";
}

TEST_F(GestureTest, ShortHoldTurnsIntoHandsFree) {
    hold(rightOption, 0.3);
    EXPECT_EQ(phase, Phase::listening(ListenMode::handsFree, std::nullopt));
    scheduler.advance(3);
    hold(rightOption, 0.1);
    EXPECT_EQ(takeCommands(),
              (Commands{Command::beginHold(1, false), Command::continueHandsFree(), Command::finish(2)}));
}

TEST_F(GestureTest, PressWhileADraftIsPendingInsertsIt) {
    phase = Phase::pending();
    hold(rightOption, 0.8);
    EXPECT_EQ(takeCommands(), (Commands{Command::insertPending(1)}));
    EXPECT_EQ(phase, Phase::busy());
}

TEST_F(GestureTest, TypingWithTheModifierCancelsAndStartsNothing) {
    keyboard.press(rightOption);
    scheduler.advance(0.2);
    keyboard.tap(ansiA);
    scheduler.advance(0.1);
    keyboard.release(rightOption); // 0.3 s: would be a short hold or a tap if it counted
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHold(1, false), Command::cancel()}));
    EXPECT_EQ(phase, Phase::idle());
}

TEST_F(GestureTest, QuickTypingNeverStartsListening) {
    keyboard.press(rightOption);
    scheduler.advance(0.03);
    keyboard.tap(ansiA);
    keyboard.release(rightOption);
    EXPECT_TRUE(takeCommands().empty());
    EXPECT_EQ(phase, Phase::idle());
}

TEST_F(GestureTest, EditModifierJoiningTheHoldSwitchesToEdit) {
    keyboard.press(rightOption);
    scheduler.advance(0.5);
    keyboard.press(command);
    scheduler.advance(1.0);
    keyboard.release(command);
    keyboard.release(rightOption);
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHold(1, false), Command::switchToEdit(),
                                        Command::finish(std::nullopt)}));
    EXPECT_TRUE(editing);
}

TEST_F(GestureTest, EditTapStartsHandsFreeEditing) {
    keyboard.press(command);
    hold(rightOption, 0.04);
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHandsFree(1, true)}));
}

TEST_F(GestureTest, EscapeCancelsAHoldAndHandsFreeListening) {
    keyboard.press(rightOption);
    scheduler.advance(0.2);
    keyboard.tap(escape);
    scheduler.advance(0.1);
    keyboard.release(rightOption);
    EXPECT_EQ(phase, Phase::idle());

    hold(rightOption, 0.1);
    keyboard.tap(escape);
    EXPECT_EQ(takeCommands(),
              (Commands{Command::beginHold(1, false), Command::cancel(), Command::beginHold(2, false),
                        Command::continueHandsFree(), Command::cancel()}));
    EXPECT_EQ(phase, Phase::idle());
}

TEST_F(GestureTest, CombinationGesturesMatchTheModifierOnes) {
    service.setHotkey(Hotkey::combo({space, controlFlag | optionFlag}));
    keyboard.pressCombination(space, controlFlag | optionFlag);
    scheduler.advance(1.5);
    keyboard.releaseCombination(space, controlFlag | optionFlag);
    phase = Phase::idle();
    keyboard.pressCombination(space, controlFlag | optionFlag | commandFlag);
    scheduler.advance(0.05);
    keyboard.releaseCombination(space, controlFlag | optionFlag | commandFlag);
    EXPECT_EQ(takeCommands(), (Commands{Command::beginHold(1, false), Command::finish(std::nullopt),
                                        Command::beginHandsFree(2, true)}));
}

} // namespace
} // namespace lumeno
