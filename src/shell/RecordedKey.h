#pragma once

#include <QtGlobal>
#include <optional>

class QKeyEvent;

namespace lumeno {

class KeyboardLayoutSource;

// A key press as the settings store it: the virtual key code of the physical key and the modifier flag
// bits (Super counts as Command, Alt as Option).
struct RecordedKey {
    quint16 keyCode = 0;
    quint64 modifiers = 0;

    bool operator==(const RecordedKey&) const = default;

    // None for a key that has no virtual key code (a modifier pressed alone, media keys...). Where the
    // desktop names the physical key, that key is recorded, the same on every layout; elsewhere the key Qt
    // reports is placed on the ANSI keyboard.
    static std::optional<RecordedKey> from(const QKeyEvent& event, const KeyboardLayoutSource& keys);
};

} // namespace lumeno
