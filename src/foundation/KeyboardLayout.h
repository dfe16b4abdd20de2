#pragma once

#include <QString>
#include <optional>

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
    // The name of the key's role when the layout gives it one ("AltGr"), else the desktop's word for a
    // special key (KeyNames::special), "F1" to "F19", else the layout's character upper-cased, else "Key "
    // and the number.
    QString displayName(quint16 keyCode) const;
    // "AltGr", "Compose" or "Layout Switch" when the current layout makes the key part of typing.
    std::optional<QString> roleName(quint16 keyCode) const;
    // Whether the current layout uses the key for typing, so it must not be a hot key.
    bool isTypingKey(quint16 keyCode) const;

    const KeyboardLayoutSource& source() const { return source_; }
    static bool isFunctionKey(quint16 keyCode);

private:
    const KeyboardLayoutSource& source_;
};

} // namespace lumeno
