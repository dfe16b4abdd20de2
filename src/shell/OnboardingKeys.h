#pragma once

#include "foundation/Hotkey.h"
#include "shell/KeySpot.h"

#include <QSet>

namespace lumeno {

class KeyboardLayout;

// Where hot keys, key codes and held modifiers sit on the drawn keyboard.
struct OnboardingKeys {
    // Modifier keys and space by their place; any other key (Fn too, which a PC keyboard does not show in
    // its bottom row) by its name in the current layout.
    static KeySpot spot(quint16 keyCode, const KeyboardLayout& layout);
    static KeySpot spot(ModifierKey key, const KeyboardLayout& layout);
    // A combination's key and both sides of each of its modifiers.
    static QSet<KeySpot> spots(const KeyCombo& combo, const KeyboardLayout& layout);
    // The keys of the hot key, or with `edit` of its edit shortcut.
    static QSet<KeySpot> spots(const Hotkey& hotkey, bool edit, const KeyboardLayout& layout);
    // The keys held according to a live modifier word: the side bits where they are set, both sides of a
    // generic flag that comes without them.
    static QSet<KeySpot> pressedSpots(quint64 flags);
};

} // namespace lumeno
