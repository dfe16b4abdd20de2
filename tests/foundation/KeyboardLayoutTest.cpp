#include "foundation/KeyboardLayout.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

using namespace VirtualKey;

class KeyboardLayoutTest : public ::testing::Test {
protected:
    FakeKeyboardLayoutSource source;
    KeyboardLayout layout{source};
};

TEST_F(KeyboardLayoutTest, SpecialKeysHaveThePcKeyboardsWords) {
    const std::pair<quint16, const char*> names[] = {
        {returnKey, "Return"},      {tab, "Tab"},          {space, "Space"},        {deleteKey, "Backspace"},
        {escape, "Esc"},            {forwardDelete, "Delete"}, {leftArrow, "Left"}, {upArrow, "Up"},
        {pageUp, "Page Up"},        {keypadEnter, "Keypad Enter"}, {keypadClear, "Num Lock"},
        {option, "Alt"},            {rightOption, "Right Alt"},    {command, "Super"},
        {rightCommand, "Right Super"}, {control, "Ctrl"},       {rightControl, "Right Ctrl"}, {function, "Fn"},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(layout.displayName(code), QString::fromUtf8(name)) << code;
}

TEST_F(KeyboardLayoutTest, FunctionKeysAreF1ToF19Only) {
    for (int n = 1; n <= 19; ++n) {
        const quint16 code = functionKeys[n - 1];
        EXPECT_EQ(layout.displayName(code), QStringLiteral("F%1").arg(n));
        EXPECT_TRUE(KeyboardLayout::isFunctionKey(code)) << n;
    }
    EXPECT_FALSE(KeyboardLayout::isFunctionKey(f20));
    EXPECT_FALSE(KeyboardLayout::isFunctionKey(ansiA));
    EXPECT_FALSE(KeyboardLayout::isFunctionKey(escape));
    EXPECT_EQ(layout.displayName(f20), "Key 90");
}

TEST_F(KeyboardLayoutTest, OtherKeysShowWhatTheLayoutTypesUpperCased) {
    EXPECT_EQ(layout.displayName(ansiA), "A");
    EXPECT_EQ(layout.displayName(ansiSlash), "/");
    auto slovenian = FakeKeyboardLayoutSource::usLayout();
    slovenian[ansiLeftBracket] = "š";
    slovenian[ansiQuote] = "ć";
    slovenian[ansiMinus] = "ß";
    source.setLayout(slovenian);
    EXPECT_EQ(layout.displayName(ansiLeftBracket), "Š");
    EXPECT_EQ(layout.displayName(ansiQuote), "Ć");
    EXPECT_EQ(layout.displayName(ansiMinus), "SS");
}

TEST_F(KeyboardLayoutTest, KeysTheLayoutCannotNameShowTheirNumber) {
    source.setLayout({{ansiA, " "}});
    EXPECT_EQ(layout.displayName(ansiA), "Key 0");
    EXPECT_EQ(layout.displayName(keypad5), "Key 87");
    EXPECT_EQ(layout.displayName(0x7F), "Key 127");
}

TEST_F(KeyboardLayoutTest, CommandKeyCodeFindsTheKeyThatTypesTheCharacter) {
    EXPECT_EQ(layout.commandKeyCode("z", 6), ansiZ);
    EXPECT_EQ(layout.commandKeyCode("Z", 6), ansiZ);
    auto german = FakeKeyboardLayoutSource::usLayout();
    german[ansiY] = "z";
    german[ansiZ] = "y";
    source.setLayout(german);
    EXPECT_EQ(layout.commandKeyCode("z", 6), ansiY);
    // A layout without the letter (Cyrillic) falls back.
    source.setLayout({{ansiZ, "я"}, {ansiX, "ч"}});
    EXPECT_EQ(layout.commandKeyCode("z", 6), 6);
    source.setLayout({});
    EXPECT_EQ(layout.commandKeyCode("v", ansiV), ansiV);
}

} // namespace
} // namespace lumeno
