#pragma once

#include <QString>

namespace lumeno {

class KeyboardLayoutSource;

// Key names and key look-ups in the user's current keyboard layout. Key codes are virtual key codes
// (VirtualKeyCodes.h), the values the settings keep.
class KeyboardLayout {
public:
    explicit KeyboardLayout(const KeyboardLayoutSource& source) : source_(source) {}

    // The key that types `character` in the current layout (so a shortcut posted with it does what the
    // letter says on a French or German keyboard too), or `fallback` when no key types it.
    quint16 commandKeyCode(const QString& character, quint16 fallback) const;
    // The desktop's word for a special key (KeyNames::special), "F1" to "F19", else the layout's character
    // upper-cased, else "Key " and the number.
    QString displayName(quint16 keyCode) const;
    static bool isFunctionKey(quint16 keyCode);

private:
    const KeyboardLayoutSource& source_;
};

} // namespace lumeno
