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

// Both sides of each generic modifier flag.
void addModifiers(QSet<KeySpot>& spots, quint64 flags) {
    using namespace VirtualKey;
    if (flags & controlFlag)
        addPair(spots, Kind::controlLeft, Kind::controlRight);
    if (flags & commandFlag)
        addPair(spots, Kind::superLeft, Kind::superRight);
    if (flags & optionFlag)
        addPair(spots, Kind::altLeft, Kind::altRight);
    if (flags & shiftFlag)
        addPair(spots, Kind::shiftLeft, Kind::shiftRight);
}

} // namespace

KeySpot OnboardingKeys::spot(quint16 keyCode, const KeyboardLayout& layout) {
    switch (keyCode) {
    case VirtualKey::space: return KeySpot::of(Kind::space);
    case VirtualKey::rightCommand: return KeySpot::of(Kind::superRight);
    case VirtualKey::command: return KeySpot::of(Kind::superLeft);
    case VirtualKey::shift: return KeySpot::of(Kind::shiftLeft);
    case VirtualKey::option: return KeySpot::of(Kind::altLeft);
    case VirtualKey::control: return KeySpot::of(Kind::controlLeft);
    case VirtualKey::rightControl: return KeySpot::of(Kind::controlRight);
    case VirtualKey::rightShift: return KeySpot::of(Kind::shiftRight);
    case VirtualKey::rightOption: return KeySpot::of(Kind::altRight);
    default: return KeySpot::named(layout.displayName(keyCode));
    }
}

KeySpot OnboardingKeys::spot(ModifierKey key, const KeyboardLayout& layout) {
    return spot(keyCode(key), layout);
}

QSet<KeySpot> OnboardingKeys::spots(const KeyCombo& combo, const KeyboardLayout& layout) {
    QSet<KeySpot> spots{spot(combo.keyCode, layout)};
    addModifiers(spots, combo.modifiers);
    return spots;
}

QSet<KeySpot> OnboardingKeys::spots(const Hotkey& hotkey, bool edit, const KeyboardLayout& layout) {
    if (const auto key = hotkey.modifierKey()) {
        QSet<KeySpot> spots{spot(*key, layout)};
        if (edit)
            addModifiers(spots, editModifier(*key));
        return spots;
    }
    const KeyCombo combo = *hotkey.keyCombo();
    return spots(edit ? combo.editCombo().value_or(combo) : combo, layout);
}

QSet<KeySpot> OnboardingKeys::pressedSpots(quint64 flags) {
    using namespace VirtualKey;
    QSet<KeySpot> spots;
    addHeld(spots, flags, optionFlag, leftOptionBit, Kind::altLeft, rightOptionBit, Kind::altRight);
    addHeld(spots, flags, commandFlag, leftCommandBit, Kind::superLeft, rightCommandBit, Kind::superRight);
    addHeld(spots, flags, controlFlag, leftControlBit, Kind::controlLeft, rightControlBit, Kind::controlRight);
    addHeld(spots, flags, shiftFlag, leftShiftBit, Kind::shiftLeft, rightShiftBit, Kind::shiftRight);
    return spots;
}

} // namespace lumeno
