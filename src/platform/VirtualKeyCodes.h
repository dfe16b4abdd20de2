#pragma once

#include <QtGlobal>

namespace lumeno {

// The key codes stored in settings and passed between areas: the original platform's virtual key codes,
// named by the key's place on an ANSI keyboard (the letter it has there), not by what the current layout
// types. The desktop layer translates them to its own codes.
namespace VirtualKey {
constexpr quint16 ansiA = 0x00, ansiS = 0x01, ansiD = 0x02, ansiF = 0x03, ansiH = 0x04, ansiG = 0x05,
                  ansiZ = 0x06, ansiX = 0x07, ansiC = 0x08, ansiV = 0x09, isoSection = 0x0A, ansiB = 0x0B,
                  ansiQ = 0x0C, ansiW = 0x0D, ansiE = 0x0E, ansiR = 0x0F, ansiY = 0x10, ansiT = 0x11,
                  ansi1 = 0x12, ansi2 = 0x13, ansi3 = 0x14, ansi4 = 0x15, ansi6 = 0x16, ansi5 = 0x17,
                  ansiEqual = 0x18, ansi9 = 0x19, ansi7 = 0x1A, ansiMinus = 0x1B, ansi8 = 0x1C, ansi0 = 0x1D,
                  ansiRightBracket = 0x1E, ansiO = 0x1F, ansiU = 0x20, ansiLeftBracket = 0x21, ansiI = 0x22,
                  ansiP = 0x23, returnKey = 0x24, ansiL = 0x25, ansiJ = 0x26, ansiQuote = 0x27, ansiK = 0x28,
                  ansiSemicolon = 0x29, ansiBackslash = 0x2A, ansiComma = 0x2B, ansiSlash = 0x2C,
                  ansiN = 0x2D, ansiM = 0x2E, ansiPeriod = 0x2F, tab = 0x30, space = 0x31, ansiGrave = 0x32,
                  deleteKey = 0x33, escape = 0x35, rightCommand = 0x36, command = 0x37, shift = 0x38,
                  capsLock = 0x39, option = 0x3A, control = 0x3B, rightShift = 0x3C, rightOption = 0x3D,
                  rightControl = 0x3E, function = 0x3F, f17 = 0x40, keypadDecimal = 0x41,
                  keypadMultiply = 0x43, keypadPlus = 0x45, keypadClear = 0x47, volumeUp = 0x48,
                  volumeDown = 0x49, mute = 0x4A, keypadDivide = 0x4B, keypadEnter = 0x4C, keypadMinus = 0x4E,
                  f18 = 0x4F, f19 = 0x50, keypadEquals = 0x51, keypad0 = 0x52, keypad1 = 0x53, keypad2 = 0x54,
                  keypad3 = 0x55, keypad4 = 0x56, keypad5 = 0x57, keypad6 = 0x58, keypad7 = 0x59, f20 = 0x5A,
                  keypad8 = 0x5B, keypad9 = 0x5C, f5 = 0x60, f6 = 0x61, f7 = 0x62, f3 = 0x63, f8 = 0x64,
                  f9 = 0x65, f11 = 0x67, f13 = 0x69, f16 = 0x6A, f14 = 0x6B, f10 = 0x6D, f12 = 0x6F,
                  f15 = 0x71, help = 0x72, home = 0x73, pageUp = 0x74, forwardDelete = 0x75, f4 = 0x76,
                  end = 0x77, f2 = 0x78, pageDown = 0x79, f1 = 0x7A, leftArrow = 0x7B, rightArrow = 0x7C,
                  downArrow = 0x7D, upArrow = 0x7E;

// F1 to F19, in order.
constexpr quint16 functionKeys[19] = {f1,  f2,  f3,  f4,  f5,  f6,  f7,  f8,  f9, f10,
                                      f11, f12, f13, f14, f15, f16, f17, f18, f19};

// Modifier flag bits stored with a key combination.
constexpr quint64 commandFlag = 0x100000, optionFlag = 0x80000, controlFlag = 0x40000, shiftFlag = 0x20000;

// The live modifier state adds which physical key set a flag (the generic bit above is set as well), and
// fn, which has no side.
constexpr quint64 leftControlBit = 0x1, leftShiftBit = 0x2, rightShiftBit = 0x4, leftCommandBit = 0x8,
                  rightCommandBit = 0x10, leftOptionBit = 0x20, rightOptionBit = 0x40,
                  rightControlBit = 0x2000, functionFlag = 0x800000;

// What holding a modifier key sets in the live modifier state; 0 for any other key.
constexpr quint64 modifierBits(quint16 keyCode) {
    switch (keyCode) {
    case command: return commandFlag | leftCommandBit;
    case rightCommand: return commandFlag | rightCommandBit;
    case option: return optionFlag | leftOptionBit;
    case rightOption: return optionFlag | rightOptionBit;
    case control: return controlFlag | leftControlBit;
    case rightControl: return controlFlag | rightControlBit;
    case shift: return shiftFlag | leftShiftBit;
    case rightShift: return shiftFlag | rightShiftBit;
    case function: return functionFlag;
    default: return 0;
    }
}
} // namespace VirtualKey

} // namespace lumeno
