#pragma once

#include <QtGlobal>
#include <optional>

class QKeyEvent;

namespace lumeno {

// A key press as the settings store it: the virtual key code of the physical key and the modifier flag
// bits (Super counts as Command, Alt as Option).
struct RecordedKey {
    quint16 keyCode = 0;
    quint64 modifiers = 0;

    bool operator==(const RecordedKey&) const = default;

    // None for a key that has no virtual key code (a modifier pressed alone, media keys...). Under X11 the
    // physical key is taken from the event's key code, so the same key is recorded on every layout;
    // elsewhere the key Qt reports is placed on the ANSI keyboard.
    static std::optional<RecordedKey> from(const QKeyEvent& event);
};

} // namespace lumeno
