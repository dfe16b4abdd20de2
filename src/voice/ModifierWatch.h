#pragma once

#include "foundation/ModifierKey.h"
#include "platform/GlobalHotkeys.h"

#include <QtGlobal>

namespace lumeno {

class PressTracker;

// Reads successive modifier words (from the desktop's key watch or from polling) for a single-modifier hot
// key: the key going down alone is a press, its release ends it, and the edit modifier (Super, or Alt when
// the hot key is right Super) joining it asks for edit mode. Only watching: the keys still reach the applications.
class ModifierWatch {
public:
    // `initial` is what is held already: a hot key held while the watch starts is not a press until it is
    // pressed again.
    ModifierWatch(ModifierKey key, PressTracker& tracker, quint64 initial);

    // `at`: when the desktop saw the change, where it says (polling does not).
    void update(quint64 modifiers, GlobalHotkeys::KeyTime at = std::nullopt);

    // The bit of the modifier word that says the key is held.
    static quint64 keyBit(ModifierKey key);

private:
    quint64 keyBit_;
    quint64 editFlag_;
    // Modifiers that make the key part of some other shortcut when they are already held as it goes down.
    quint64 otherFlags_;
    PressTracker& tracker_;
    quint64 last_;
};

} // namespace lumeno
