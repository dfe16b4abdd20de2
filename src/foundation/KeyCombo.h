#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

namespace lumeno {

class KeyboardLayout;

// A key pressed with modifiers: the key's virtual key code and the modifier flag bits
// (VirtualKey::commandFlag, optionFlag, controlFlag, shiftFlag).
struct KeyCombo {
    quint16 keyCode = 0;
    quint64 modifiers = 0;

    bool operator==(const KeyCombo&) const = default;

    // The combination written the desktop's way: "Ctrl+Super+Space" (KeyNames::combination).
    QString displayString(const KeyboardLayout& layout) const;
    // The edit shortcut derived from this one: the same key with Command added when absent, else Option,
    // else Shift; none when all three are already held.
    std::optional<KeyCombo> editCombo() const;

    QJsonObject toJson() const;
    // None for anything but an object with a key code of 0-65535 and non-negative modifier bits.
    static std::optional<KeyCombo> fromJson(const QJsonValue& json);
};

} // namespace lumeno
