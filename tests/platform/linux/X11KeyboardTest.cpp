#include "platform/VirtualKeyCodes.h"
#include "platform/linux/X11KeyCodes.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11Keymap.h"
#include "platform/linux/X11SyntheticKeys.h"

#include <X11/keysym.h>

#include <gtest/gtest.h>

namespace lumeno {
namespace {

using namespace VirtualKey;

// A small keymap in the core protocol's form: from key code 8, two groups of two levels each.
X11Keymap keymapWith(std::vector<std::pair<xcb_keycode_t, std::array<xcb_keysym_t, 4>>> keys,
                     std::array<std::vector<xcb_keycode_t>, 8> modifiers = {}) {
    std::vector<xcb_keysym_t> table(4 * 200, 0);
    for (const auto& [code, symbols] : keys)
        std::copy(symbols.begin(), symbols.end(), table.begin() + 4 * (code - 8));
    return X11Keymap(8, 4, table, modifiers);
}

TEST(X11KeymapTest, ALetterIsFoundInAnyGroupAndTheFirstGroupWins) {
    // German first, Russian second: "v" is on key 55 in the first group; key 55 types "м" in the second.
    const X11Keymap germanRussian = keymapWith({{55, {XK_v, XK_V, XK_Cyrillic_em, XK_Cyrillic_EM}},
                                                {29, {XK_z, XK_Z, XK_Cyrillic_en, XK_Cyrillic_EN}}});
    EXPECT_EQ(germanRussian.keyCodeOf(XK_v), 55);
    EXPECT_EQ(germanRussian.keyCodeOf(XK_z), 29) << "German z sits where the ANSI Y is";
    // Russian first, US second: the Latin letters are only in the second group, and still found.
    const X11Keymap russianUs = keymapWith({{55, {XK_Cyrillic_em, XK_Cyrillic_EM, XK_v, XK_V}}});
    EXPECT_EQ(russianUs.keyCodeOf(XK_v), 55);
}

TEST(X11KeymapTest, AKeymapWithoutALatinLetterHasNoKeyForIt) {
    const X11Keymap russianOnly = keymapWith({{55, {XK_Cyrillic_em, XK_Cyrillic_EM, 0, 0}}});
    EXPECT_EQ(russianOnly.keyCodeOf(XK_v), std::nullopt);
    EXPECT_TRUE(russianOnly.hasKey(55));
    EXPECT_FALSE(russianOnly.hasKey(56));
    EXPECT_FALSE(russianOnly.hasKey(255)) << "past the table";
}

TEST(X11KeymapTest, ModifierBitsComeFromTheModifierMapping) {
    std::array<std::vector<xcb_keycode_t>, 8> modifiers;
    modifiers[3] = {64};      // Mod1: Alt
    modifiers[5] = {77};      // Mod3: NumLock, where some layouts put it
    modifiers[6] = {133, 134}; // Mod4: Super
    const X11Keymap keymap = keymapWith({{64, {XK_Alt_L, XK_Meta_L, 0, 0}},
                                         {77, {XK_Num_Lock, 0, 0, 0}},
                                         {133, {XK_Super_L, 0, 0, 0}},
                                         {134, {XK_Super_R, 0, 0, 0}}},
                                        modifiers);
    EXPECT_EQ(keymap.modifierMaskOf(XK_Num_Lock), XCB_MOD_MASK_3);
    EXPECT_EQ(keymap.modifierMaskOf(XK_Alt_L), XCB_MOD_MASK_1);
    EXPECT_EQ(keymap.modifierMaskOf(XK_Super_R), XCB_MOD_MASK_4);
    EXPECT_EQ(keymap.modifierMaskOf(XK_Hyper_L), 0);
    EXPECT_EQ(keymap.modifierKeyCodes(), (std::vector<xcb_keycode_t>{64, 77, 133, 134}));
}

TEST(X11KeySynthTest, ChordsUseTheKeysOfTheCurrentKeymapAndRefuseWhatItLacks) {
    std::array<std::vector<xcb_keycode_t>, 8> modifiers;
    modifiers[2] = {37}; // Control
    const std::pair<xcb_keycode_t, std::array<xcb_keysym_t, 4>> control{37, {XK_Control_L, 0, 0, 0}},
        enter{36, {XK_Return, 0, 0, 0}};
    // A Dvorak-like layout: "v" lives where the ANSI "." is.
    const X11Keymap dvorak = keymapWith({control, enter, {60, {XK_v, XK_V, 0, 0}}}, modifiers);
    EXPECT_EQ(X11KeySynth::chordFor(KeySynth::Key::paste, dvorak), (X11KeySynth::Chord{37, 60}));
    EXPECT_EQ(X11KeySynth::chordFor(KeySynth::Key::returnKey, dvorak), (X11KeySynth::Chord{std::nullopt, 36}));

    const X11Keymap russianOnly = keymapWith({control, enter, {55, {XK_Cyrillic_em, XK_Cyrillic_EM, 0, 0}}}, modifiers);
    EXPECT_EQ(X11KeySynth::chordFor(KeySynth::Key::paste, russianOnly), std::nullopt);
    EXPECT_EQ(X11KeySynth::chordFor(KeySynth::Key::undo, russianOnly), std::nullopt);
    EXPECT_TRUE(X11KeySynth::chordFor(KeySynth::Key::returnKey, russianOnly)) << "Return needs no letter";
}

TEST(X11KeyCodesTest, ModifierKeysSetTheirGenericFlagAndTheirSide) {
    EXPECT_EQ(X11KeyCodes::modifierBits(108), optionFlag | rightOptionBit);
    EXPECT_EQ(X11KeyCodes::modifierBits(64), optionFlag | leftOptionBit);
    EXPECT_EQ(X11KeyCodes::modifierBits(134), commandFlag | rightCommandBit);
    EXPECT_EQ(X11KeyCodes::modifierBits(105), controlFlag | rightControlBit);
    EXPECT_EQ(X11KeyCodes::modifierBits(62), shiftFlag | rightShiftBit);
    EXPECT_EQ(X11KeyCodes::modifierBits(38), 0u) << "a letter";
    EXPECT_EQ(X11KeyCodes::modifierBits(66), 0u) << "CapsLock toggles; it is not held as a modifier";
}

TEST(X11SyntheticKeysTest, OnlyTheKeysSentAreTakenOutAndOnlyOnce) {
    X11SyntheticKeys keys;
    keys.sent(37, true); // no watch yet: nothing to take out later
    EXPECT_FALSE(keys.take(37, true));

    keys.setWatching(true);
    keys.sent(37, true);
    keys.sent(55, true);
    EXPECT_FALSE(keys.take(55, false)) << "a release is not the press that was sent";
    EXPECT_TRUE(keys.take(55, true));
    EXPECT_TRUE(keys.take(37, true));
    EXPECT_FALSE(keys.take(37, true)) << "the user typing the same key afterwards is the user";
}

TEST(X11SyntheticKeysTest, ALostEventIsForgottenInTime) {
    X11SyntheticKeys keys;
    keys.setWatching(true);
    keys.sent(108, false); // a release the server drops: the key was already up
    for (size_t sent = 0; sent < X11SyntheticKeys::limit; ++sent)
        keys.sent(38, true);
    EXPECT_FALSE(keys.take(108, false)) << "a remote-desktop user's later release must get through";
}

} // namespace
} // namespace lumeno
