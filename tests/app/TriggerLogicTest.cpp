#include "app/TriggerLogic.h"

#include "voice/HotkeyEventPrinting.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

namespace lumeno {

void PrintTo(const TriggerLogic::Command& command, std::ostream* out) {
    static const char* const names[] = {"beginHold", "beginHandsFree",    "finish",       "insertPending",
                                        "ignore",    "continueHandsFree", "switchToEdit", "cancel"};
    *out << names[int(command.kind)] << "(";
    if (command.press)
        *out << *command.press;
    *out << (command.edit ? ", edit)" : ")");
}

namespace {

using Command = TriggerLogic::Command;
using Phase = TriggerLogic::Phase;
using Event = HotkeyEvent;

constexpr quint64 same = 7, other = 8;
const double notANumber = std::numeric_limits<double>::quiet_NaN();

const Phase idle = Phase::idle();
const Phase busy = Phase::busy();
const Phase pending = Phase::pending();
const Phase holding = Phase::listening(ListenMode::hold, same);
const Phase holdWithoutPress = Phase::listening(ListenMode::hold, std::nullopt);
const Phase handsFree = Phase::listening(ListenMode::handsFree, same);
const Phase handsFreeWithoutPress = Phase::listening(ListenMode::handsFree, std::nullopt);

struct Row {
    const char* name;
    Event event;
    Phase phase;
    std::optional<quint64> consumed;
    Command expected;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class TriggerTable : public ::testing::TestWithParam<Row> {};

TEST_P(TriggerTable, GivesTheCommand) {
    const Row& row = GetParam();
    EXPECT_EQ(TriggerLogic::command(row.event, row.phase, row.consumed), row.expected);
}

// Escape cancels whatever runs, even with a press consumed; the loop alone drops it while idle and hidden.
INSTANTIATE_TEST_SUITE_P(
    Escape, TriggerTable,
    ::testing::Values(Row{"idle", Event::escape(), idle, std::nullopt, Command::cancel()},
                      Row{"busy", Event::escape(), busy, same, Command::cancel()},
                      Row{"pending", Event::escape(), pending, same, Command::cancel()},
                      Row{"holding", Event::escape(), holding, std::nullopt, Command::cancel()},
                      Row{"handsFree", Event::escape(), handsFree, other, Command::cancel()}),
    [](const auto& info) { return std::string(info.param.name); });

// A consumed press is ignored even where the table would begin, finish or insert.
INSTANTIATE_TEST_SUITE_P(
    ConsumedPress, TriggerTable,
    ::testing::Values(Row{"holdBeganInIdle", Event::holdBegan(same, false), idle, same, Command::ignore()},
                      Row{"shortUpInIdle", Event::up(same, 0.1, false), idle, same, Command::ignore()},
                      Row{"downInHandsFree", Event::down(same), handsFreeWithoutPress, same,
                          Command::ignore()},
                      Row{"downWhilePending", Event::down(same), pending, same, Command::ignore()},
                      Row{"longUpOfTheHold", Event::up(same, 2.0, false), holding, same, Command::ignore()},
                      Row{"anotherPressStillCounts", Event::holdBegan(other, false), idle, same,
                          Command::beginHold(other, false)}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Down, TriggerTable,
    ::testing::Values(Row{"finishesHandsFree", Event::down(other), handsFree, std::nullopt,
                          Command::finish(other)},
                      Row{"finishesHandsFreeWithoutPress", Event::down(other), handsFreeWithoutPress, same,
                          Command::finish(other)},
                      Row{"insertsPending", Event::down(other), pending, same, Command::insertPending(other)},
                      Row{"idle", Event::down(other), idle, std::nullopt, Command::ignore()},
                      Row{"busy", Event::down(other), busy, std::nullopt, Command::ignore()},
                      Row{"holding", Event::down(other), holding, std::nullopt, Command::ignore()},
                      Row{"holdOfItsOwnPress", Event::down(same), holding, std::nullopt, Command::ignore()}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    HoldBegan, TriggerTable,
    ::testing::Values(
        Row{"beginsReplyFromIdle", Event::holdBegan(other, false), idle, std::nullopt,
            Command::beginHold(other, false)},
        Row{"beginsEditFromIdle", Event::holdBegan(other, true), idle, std::nullopt,
            Command::beginHold(other, true)},
        Row{"busy", Event::holdBegan(other, false), busy, std::nullopt, Command::ignore()},
        Row{"pending", Event::holdBegan(other, false), pending, std::nullopt, Command::ignore()},
        Row{"handsFree", Event::holdBegan(other, false), handsFree, std::nullopt, Command::ignore()},
        Row{"holding", Event::holdBegan(same, false), holding, std::nullopt, Command::ignore()}),
    [](const auto& info) { return std::string(info.param.name); });

// The threshold is strict on both sides, and a heldFor that is not a number is a long hold.
INSTANTIATE_TEST_SUITE_P(
    Up, TriggerTable,
    ::testing::Values(
        Row{"tapFromIdle", Event::up(other, 0.39, false), idle, std::nullopt,
            Command::beginHandsFree(other, false)},
        Row{"editTapFromIdle", Event::up(other, 0.0, true), idle, std::nullopt,
            Command::beginHandsFree(other, true)},
        Row{"thresholdFromIdle", Event::up(other, 0.4, false), idle, std::nullopt, Command::ignore()},
        Row{"notANumberFromIdle", Event::up(other, notANumber, false), idle, std::nullopt, Command::ignore()},
        Row{"shortHold", Event::up(same, 0.39, false), holding, std::nullopt, Command::continueHandsFree()},
        Row{"holdAtThreshold", Event::up(same, 0.4, false), holding, std::nullopt,
            Command::finish(std::nullopt)},
        Row{"longHold", Event::up(same, 3.5, true), holding, other, Command::finish(std::nullopt)},
        Row{"notANumberHold", Event::up(same, notANumber, false), holding, std::nullopt,
            Command::finish(std::nullopt)},
        Row{"holdOfAnotherPress", Event::up(other, 0.1, false), holding, std::nullopt, Command::ignore()},
        Row{"shortUpWithoutPress", Event::up(same, 0.1, false), holdWithoutPress, std::nullopt,
            Command::ignore()},
        Row{"longUpWithoutPress", Event::up(same, 2.0, false), holdWithoutPress, std::nullopt,
            Command::ignore()},
        Row{"handsFree", Event::up(same, 0.1, false), handsFree, std::nullopt, Command::ignore()},
        Row{"busy", Event::up(same, 0.1, false), busy, std::nullopt, Command::ignore()},
        Row{"pending", Event::up(same, 0.1, false), pending, std::nullopt, Command::ignore()}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    InterruptedAndEdit, TriggerTable,
    ::testing::Values(
        Row{"interruptionCancelsTheHold", Event::interrupted(same), holding, std::nullopt, Command::cancel()},
        Row{"interruptionOfAnotherPress", Event::interrupted(other), holding, std::nullopt,
            Command::ignore()},
        Row{"interruptionWithoutPress", Event::interrupted(same), holdWithoutPress, std::nullopt,
            Command::ignore()},
        Row{"interruptionInHandsFree", Event::interrupted(same), handsFree, std::nullopt, Command::ignore()},
        Row{"interruptionInIdle", Event::interrupted(same), idle, std::nullopt, Command::ignore()},
        Row{"editSwitchesTheHold", Event::editRequested(same), holding, std::nullopt,
            Command::switchToEdit()},
        Row{"editOfAnotherPress", Event::editRequested(other), holding, std::nullopt, Command::ignore()},
        Row{"editInHandsFree", Event::editRequested(same), handsFree, std::nullopt, Command::ignore()},
        Row{"editWhilePending", Event::editRequested(same), pending, std::nullopt, Command::ignore()}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lumeno
