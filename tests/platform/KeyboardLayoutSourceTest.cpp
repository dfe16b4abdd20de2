#include "platform/VirtualKeyCodes.h"
#include "platform/linux/LinuxKeyboardLayoutSource.h"
#include "platform/linux/X11KeyCodes.h"

#include <gtest/gtest.h>
#include <set>

namespace lumeno {
namespace {

using namespace VirtualKey;

TEST(X11KeyCodesTest, KeysMapToTheirPhysicalPlaceOnAnX11Keyboard) {
    const std::pair<quint16, quint8> places[] = {
        {ansiA, 38},        {ansiQ, 24},         {ansiZ, 52},        {ansiM, 58},
        {ansi1, 10},        {ansi0, 19},         {returnKey, 36},    {tab, 23},
        {space, 65},        {deleteKey, 22},     {escape, 9},        {forwardDelete, 119},
        {command, 133},     {rightCommand, 134}, {rightOption, 108}, {rightControl, 105},
        {f1, 67},           {f12, 96},           {f13, 191},         {f19, 197},
        {leftArrow, 113},   {upArrow, 111},      {isoSection, 94},   {ansiGrave, 49},
        {keypadEnter, 104},
    };
    for (const auto& [virtualKey, x11Key] : places) {
        EXPECT_EQ(X11KeyCodes::fromVirtual(virtualKey), x11Key) << virtualKey;
        EXPECT_EQ(X11KeyCodes::toVirtual(x11Key), virtualKey) << int(x11Key);
    }
}

TEST(X11KeyCodesTest, TheTableIsOneToOneAndFnHasNoX11Key) {
    std::set<quint8> seen;
    for (quint16 code = 0; code < 0x80; ++code) {
        const auto x11Key = X11KeyCodes::fromVirtual(code);
        if (!x11Key)
            continue;
        EXPECT_TRUE(seen.insert(*x11Key).second) << "two keys on X11 code " << int(*x11Key);
        EXPECT_EQ(X11KeyCodes::toVirtual(*x11Key), code);
    }
    EXPECT_GE(seen.size(), 110u);
    EXPECT_EQ(X11KeyCodes::fromVirtual(function), std::nullopt);
    EXPECT_EQ(X11KeyCodes::toVirtual(8), std::nullopt);
}

TEST(LinuxKeyboardLayoutSourceTest, KeySymbolsBecomeTheirCharacters) {
    EXPECT_EQ(LinuxKeyboardLayoutSource::textOfKeySymbol(0x7a), "z");
    EXPECT_EQ(LinuxKeyboardLayoutSource::textOfKeySymbol(0xdf), "ß");
    EXPECT_EQ(LinuxKeyboardLayoutSource::textOfKeySymbol(0x1000161), "š"); // Unicode symbol
    EXPECT_EQ(LinuxKeyboardLayoutSource::textOfKeySymbol(0x101f600), "😀");
    // Function keys, dead keys, modifiers and "no symbol" type nothing.
    for (const unsigned long symbol : {0x0ul, 0xff0dul, 0xffbeul, 0xfe51ul, 0xffe9ul, 0x1fful})
        EXPECT_EQ(LinuxKeyboardLayoutSource::textOfKeySymbol(symbol), std::nullopt) << std::hex << symbol;
}

TEST(LinuxKeyboardLayoutSourceTest, LevelShiftsComposeAndGroupKeysHaveTheirRoles) {
    using KeyRole = KeyboardLayoutSource::KeyRole;
    const std::pair<unsigned long, KeyRole> cases[] = {
        {0xfe03, KeyRole::characterShift}, // ISO_Level3_Shift: AltGr
        {0xfe11, KeyRole::characterShift}, // ISO_Level5_Shift
        {0xff7e, KeyRole::characterShift}, // Mode_switch
        {0xff20, KeyRole::compose},        // Multi_key
        {0xfe08, KeyRole::inputSwitch},    // ISO_Next_Group
        {0xff31, KeyRole::inputSwitch},    // Hangul
        {0xffea, KeyRole::ordinary},       // Alt_R
        {0xffe4, KeyRole::ordinary},       // Control_R
        {0x61, KeyRole::ordinary},
        {0, KeyRole::ordinary},
    };
    for (const auto& [symbol, role] : cases)
        EXPECT_EQ(LinuxKeyboardLayoutSource::roleOfKeySymbol(symbol), role) << std::hex << symbol;
}

TEST(LinuxKeyboardLayoutSourceTest, WithoutAnXServerNoKeyTypesAnything) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    const LinuxKeyboardLayoutSource source;
    EXPECT_EQ(source.character(ansiA), std::nullopt);
    EXPECT_EQ(source.role(rightOption), KeyboardLayoutSource::KeyRole::ordinary);
    if (!display.isEmpty())
        qputenv("DISPLAY", display);
}

} // namespace
} // namespace lumeno
