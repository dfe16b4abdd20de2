#include "platform/linux/X11KeyCodes.h"

#include "platform/VirtualKeyCodes.h"

#include <utility>

namespace lumeno {

namespace {

using namespace VirtualKey;

// By physical position. The ISO key between left Shift and Z is the section key; the key left of 1 is grave.
constexpr std::pair<quint16, quint8> keys[] = {
    {ansiA, 38},
    {ansiS, 39},
    {ansiD, 40},
    {ansiF, 41},
    {ansiH, 43},
    {ansiG, 42},
    {ansiZ, 52},
    {ansiX, 53},
    {ansiC, 54},
    {ansiV, 55},
    {isoSection, 94},
    {ansiB, 56},
    {ansiQ, 24},
    {ansiW, 25},
    {ansiE, 26},
    {ansiR, 27},
    {ansiY, 29},
    {ansiT, 28},
    {ansi1, 10},
    {ansi2, 11},
    {ansi3, 12},
    {ansi4, 13},
    {ansi6, 15},
    {ansi5, 14},
    {ansiEqual, 21},
    {ansi9, 18},
    {ansi7, 16},
    {ansiMinus, 20},
    {ansi8, 17},
    {ansi0, 19},
    {ansiRightBracket, 35},
    {ansiO, 32},
    {ansiU, 30},
    {ansiLeftBracket, 34},
    {ansiI, 31},
    {ansiP, 33},
    {returnKey, 36},
    {ansiL, 46},
    {ansiJ, 44},
    {ansiQuote, 48},
    {ansiK, 45},
    {ansiSemicolon, 47},
    {ansiBackslash, 51},
    {ansiComma, 59},
    {ansiSlash, 61},
    {ansiN, 57},
    {ansiM, 58},
    {ansiPeriod, 60},
    {tab, 23},
    {space, 65},
    {ansiGrave, 49},
    {deleteKey, 22},
    {escape, 9},
    {rightCommand, 134},
    {command, 133},
    {shift, 50},
    {capsLock, 66},
    {option, 64},
    {control, 37},
    {rightShift, 62},
    {rightOption, 108},
    {rightControl, 105},
    {f17, 195},
    {keypadDecimal, 91},
    {keypadMultiply, 63},
    {keypadPlus, 86},
    {keypadClear, 77},
    {volumeUp, 123},
    {volumeDown, 122},
    {mute, 121},
    {keypadDivide, 106},
    {keypadEnter, 104},
    {keypadMinus, 82},
    {f18, 196},
    {f19, 197},
    {keypadEquals, 125},
    {keypad0, 90},
    {keypad1, 87},
    {keypad2, 88},
    {keypad3, 89},
    {keypad4, 83},
    {keypad5, 84},
    {keypad6, 85},
    {keypad7, 79},
    {f20, 198},
    {keypad8, 80},
    {keypad9, 81},
    {f5, 71},
    {f6, 72},
    {f7, 73},
    {f3, 69},
    {f8, 74},
    {f9, 75},
    {f11, 95},
    {f13, 191},
    {f16, 194},
    {f14, 192},
    {f10, 76},
    {f12, 96},
    {f15, 193},
    {help, 146},
    {home, 110},
    {pageUp, 112},
    {forwardDelete, 119},
    {f4, 70},
    {end, 115},
    {f2, 68},
    {pageDown, 117},
    {f1, 67},
    {leftArrow, 113},
    {rightArrow, 114},
    {downArrow, 116},
    {upArrow, 111},
};

} // namespace

std::optional<quint8> X11KeyCodes::fromVirtual(quint16 virtualKeyCode) {
    for (const auto& [virtualKey, x11Key] : keys)
        if (virtualKey == virtualKeyCode)
            return x11Key;
    return std::nullopt;
}

std::optional<quint16> X11KeyCodes::toVirtual(quint8 x11KeyCode) {
    for (const auto& [virtualKey, x11Key] : keys)
        if (x11Key == x11KeyCode)
            return virtualKey;
    return std::nullopt;
}

quint64 X11KeyCodes::modifierBits(quint8 x11KeyCode) {
    const std::optional<quint16> key = toVirtual(x11KeyCode);
    return key ? VirtualKey::modifierBits(*key) : 0;
}

} // namespace lumeno
