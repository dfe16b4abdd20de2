#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// The current keyboard layout, asked key by key. Keys are named by the virtual key codes the settings store
// (VirtualKeyCodes.h), whatever the desktop's own codes are.
class KeyboardLayoutSource {
public:
    virtual ~KeyboardLayoutSource() = default;

    // What the key types without modifiers in the current layout; none for keys that type nothing
    // printable (and for dead keys).
    virtual std::optional<QString> character(quint16 virtualKeyCode) const = 0;
};

} // namespace lumeno
