#include "foundation/Hotkey.h"

#include "foundation/KeyboardLayout.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "support/Json.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

using namespace VirtualKey;

class HotkeyTest : public ::testing::Test {
protected:
    FakeKeyboardLayoutSource source;
    KeyboardLayout layout{source};
};

TEST_F(HotkeyTest, ModifierNamesAndTheirEditShortcuts) {
    const std::tuple<ModifierKey, const char*, const char*> cases[] = {
        {ModifierKey::rightOption, "Right Alt", "Right Alt+Super"},
        {ModifierKey::rightCommand, "Right Super", "Right Super+Alt"},
        {ModifierKey::rightControl, "Right Ctrl", "Right Ctrl+Super"},
        {ModifierKey::fn, "Fn", "Fn+Super"},
    };
    for (const auto& [key, name, edit] : cases) {
        const Hotkey hotkey = Hotkey::modifier(key);
        EXPECT_EQ(hotkey.displayName(layout), QString::fromUtf8(name));
        EXPECT_EQ(hotkey.editDisplayName(layout), QString::fromUtf8(edit));
    }
}

TEST_F(HotkeyTest, ComboDisplayStringOrdersModifiersControlOptionShiftCommand) {
    const KeyCombo all{ansiK, commandFlag | shiftFlag | optionFlag | controlFlag};
    EXPECT_EQ(all.displayString(layout), "Ctrl+Alt+Shift+Super+K");
    EXPECT_EQ((KeyCombo{space, optionFlag}).displayString(layout), "Alt+Space");
    EXPECT_EQ((KeyCombo{f5, 0}).displayString(layout), "F5");
    // Bits other than the four modifiers (device-dependent flags) are not shown.
    EXPECT_EQ((KeyCombo{ansiD, commandFlag | 0x8}).displayString(layout), "Super+D");
}

TEST_F(HotkeyTest, ComboDisplayFollowsTheCurrentLayout) {
    auto german = FakeKeyboardLayoutSource::usLayout();
    german[ansiY] = "z";
    german[ansiZ] = "y";
    source.setLayout(german);
    EXPECT_EQ(Hotkey::combo({ansiY, controlFlag}).displayName(layout), "Ctrl+Z");
}

TEST_F(HotkeyTest, EditComboAddsCommandThenOptionThenShift) {
    EXPECT_EQ((KeyCombo{ansiJ, controlFlag}).editCombo(), (KeyCombo{ansiJ, controlFlag | commandFlag}));
    EXPECT_EQ((KeyCombo{ansiJ, commandFlag}).editCombo(), (KeyCombo{ansiJ, commandFlag | optionFlag}));
    EXPECT_EQ((KeyCombo{ansiJ, commandFlag | optionFlag}).editCombo(),
              (KeyCombo{ansiJ, commandFlag | optionFlag | shiftFlag}));
    EXPECT_EQ((KeyCombo{ansiJ, commandFlag | optionFlag | shiftFlag}).editCombo(), std::nullopt);
    // Control plays no part: with the other three held there is still no edit combination.
    EXPECT_EQ((KeyCombo{ansiJ, commandFlag | optionFlag | shiftFlag | controlFlag}).editCombo(),
              std::nullopt);
}

TEST_F(HotkeyTest, ComboEditDisplayNameIsItsEditCombination) {
    EXPECT_EQ(Hotkey::combo({space, optionFlag}).editDisplayName(layout), "Alt+Super+Space");
    EXPECT_EQ(Hotkey::combo({f2, 0}).editDisplayName(layout), "Super+F2");
    EXPECT_EQ(Hotkey::combo({ansiA, commandFlag | optionFlag | shiftFlag}).editDisplayName(layout),
              std::nullopt);
}

TEST_F(HotkeyTest, JsonRoundTripsEveryForm) {
    const Hotkey hotkeys[] = {
        Hotkey::modifier(ModifierKey::rightOption),
        Hotkey::modifier(ModifierKey::rightCommand),
        Hotkey::modifier(ModifierKey::rightControl),
        Hotkey::modifier(ModifierKey::fn),
        Hotkey::combo({ansiA, 0}),
        Hotkey::combo({space, commandFlag | shiftFlag | optionFlag | controlFlag}),
        Hotkey::combo({0xFFFF, 0x1FFFFFFFF}),
    };
    for (const Hotkey& hotkey : hotkeys) {
        // Through the bytes, as the settings file keeps it.
        const QByteArray bytes = Json::write(hotkey.toJson());
        const auto parsed = Json::parse(bytes);
        ASSERT_TRUE(parsed) << bytes.toStdString();
        EXPECT_EQ(Hotkey::fromJson(*parsed), hotkey) << bytes.toStdString();
    }
}

TEST_F(HotkeyTest, JsonFormIsTheDocumentedOne) {
    EXPECT_EQ(Json::write(Hotkey::combo({space, commandFlag}).toJson(), Json::Style::compact),
              R"({"combo":{"keyCode":49,"modifiers":1048576}})");
    EXPECT_EQ(Json::write(Hotkey::modifier(ModifierKey::rightCommand).toJson(), Json::Style::compact),
              R"({"modifier":"rightCommand"})");
}

TEST_F(HotkeyTest, UndecodableJsonGivesNone) {
    const char* documents[] = {
        R"("rightOption")",
        R"({})",
        R"({"modifier":"leftOption"})",
        R"({"modifier":3})",
        R"({"modifier":"fn","combo":{"keyCode":1,"modifiers":0}})",
        R"({"combo":{"keyCode":70000,"modifiers":0}})",
        R"({"combo":{"keyCode":-1,"modifiers":0}})",
        R"({"combo":{"keyCode":1.5,"modifiers":0}})",
        R"({"combo":{"keyCode":"49","modifiers":0}})",
        R"({"combo":{"keyCode":49,"modifiers":-8}})",
        R"({"combo":{"keyCode":49}})",
        R"({"combo":[49,0]})",
        R"(null)",
    };
    for (const char* document : documents) {
        const auto parsed = Json::parse(document);
        ASSERT_TRUE(parsed) << document;
        EXPECT_EQ(Hotkey::fromJson(*parsed), std::nullopt) << document;
    }
}

} // namespace
} // namespace lumeno
