#include "shell/OnboardingKeys.h"

#include "foundation/KeyboardLayout.h"
#include "platform/VirtualKeyCodes.h"

namespace lumeno {

namespace {

using Kind = KeySpot::Kind;

void addPair(QSet<KeySpot>& spots, Kind left, Kind right) {
    spots.insert(KeySpot::of(left));
    spots.insert(KeySpot::of(right));
}

// One modifier of a live flag word: each side whose bit is set, or both when only the generic flag is.
void addHeld(QSet<KeySpot>& spots, quint64 flags, quint64 generic, quint64 leftBit, Kind left, quint64 rightBit,
             Kind right) {
    if (flags & rightBit)
        spots.insert(KeySpot::of(right));
    if (flags & leftBit)
        spots.insert(KeySpot::of(left));
    if ((flags & generic) && !(flags & (leftBit | rightBit)))
        addPair(spots, left, right);
}

} // namespace

KeySpot OnboardingKeys::spot(quint16 keyCode, const KeyboardLayout& layout) {
    switch (keyCode) {
    case VirtualKey::space: return KeySpot::of(Kind::space);
    case VirtualKey::rightCommand: return KeySpot::of(Kind::commandRight);
    case VirtualKey::command: return KeySpot::of(Kind::commandLeft);
    case VirtualKey::shift: return KeySpot::of(Kind::shiftLeft);
    case VirtualKey::option: return KeySpot::of(Kind::optionLeft);
    case VirtualKey::control:
    case VirtualKey::rightControl: return KeySpot::of(Kind::control);
    case VirtualKey::rightShift: return KeySpot::of(Kind::shiftRight);
    case VirtualKey::rightOption: return KeySpot::of(Kind::optionRight);
    case VirtualKey::function: return KeySpot::of(Kind::function);
    default: return KeySpot::named(layout.displayName(keyCode));
    }
}

KeySpot OnboardingKeys::spot(ModifierKey key) {
    switch (key) {
    case ModifierKey::rightOption: return KeySpot::of(Kind::optionRight);
    case ModifierKey::rightCommand: return KeySpot::of(Kind::commandRight);
    case ModifierKey::rightControl: return KeySpot::of(Kind::control);
    case ModifierKey::fn: return KeySpot::of(Kind::function);
    }
    return KeySpot::of(Kind::function);
}

QSet<KeySpot> OnboardingKeys::spots(const KeyCombo& combo, const KeyboardLayout& layout) {
    QSet<KeySpot> spots{spot(combo.keyCode, layout)};
    if (combo.modifiers & VirtualKey::commandFlag)
        addPair(spots, Kind::commandLeft, Kind::commandRight);
    if (combo.modifiers & VirtualKey::optionFlag)
        addPair(spots, Kind::optionLeft, Kind::optionRight);
    if (combo.modifiers & VirtualKey::controlFlag)
        spots.insert(KeySpot::of(Kind::control));
    if (combo.modifiers & VirtualKey::shiftFlag)
        addPair(spots, Kind::shiftLeft, Kind::shiftRight);
    return spots;
}

QSet<KeySpot> OnboardingKeys::spots(const Hotkey& hotkey, bool edit, const KeyboardLayout& layout) {
    if (const auto key = hotkey.modifierKey()) {
        QSet<KeySpot> spots{spot(*key)};
        if (edit) {
            if (*key == ModifierKey::rightCommand)
                addPair(spots, Kind::optionLeft, Kind::optionRight);
            else
                addPair(spots, Kind::commandLeft, Kind::commandRight);
        }
        return spots;
    }
    const KeyCombo combo = *hotkey.keyCombo();
    return spots(edit ? combo.editCombo().value_or(combo) : combo, layout);
}

QSet<KeySpot> OnboardingKeys::pressedSpots(quint64 flags) {
    using namespace VirtualKey;
    QSet<KeySpot> spots;
    addHeld(spots, flags, optionFlag, leftOptionBit, Kind::optionLeft, rightOptionBit, Kind::optionRight);
    addHeld(spots, flags, commandFlag, leftCommandBit, Kind::commandLeft, rightCommandBit, Kind::commandRight);
    if (flags & (controlFlag | leftControlBit | rightControlBit))
        spots.insert(KeySpot::of(Kind::control));
    addHeld(spots, flags, shiftFlag, leftShiftBit, Kind::shiftLeft, rightShiftBit, Kind::shiftRight);
    if (flags & functionFlag)
        spots.insert(KeySpot::of(Kind::function));
    return spots;
}

} // namespace lumeno
