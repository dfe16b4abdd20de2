#pragma once

#include "foundation/KeyCombo.h"
#include "foundation/ModifierKey.h"

#include <QJsonValue>
#include <variant>

namespace lumeno {

class KeyboardLayout;

// The user's hot key: a single modifier held alone, or a key combination. Right Alt by default.
class Hotkey {
public:
    Hotkey() = default;
    static Hotkey modifier(ModifierKey key) { return Hotkey(key); }
    static Hotkey combo(KeyCombo combo) { return Hotkey(combo); }

    bool operator==(const Hotkey&) const = default;

    // The hot key of a user who has not chosen one: right Alt, unless the layout types with it (AltGr),
    // then right Ctrl, then right Super.
    static Hotkey defaultFor(const KeyboardLayout& layout);

    std::optional<ModifierKey> modifierKey() const;
    std::optional<KeyCombo> keyCombo() const;

    // How the hot key is named wherever it is shown: the modifier's name, or the combination's string.
    QString displayName(const KeyboardLayout& layout) const;
    // The edit shortcut's name: for a modifier, its name joined to the edit modifier ("Right Alt+Super",
    // "Right Super+Alt"); for a combination, its edit combination's string, none when it has none.
    std::optional<QString> editDisplayName(const KeyboardLayout& layout) const;

    // {"modifier": "rightOption"} or {"combo": {"keyCode": 49, "modifiers": 1048576}}.
    QJsonValue toJson() const;
    static std::optional<Hotkey> fromJson(const QJsonValue& json);

private:
    explicit Hotkey(std::variant<ModifierKey, KeyCombo> value) : value_(value) {}

    std::variant<ModifierKey, KeyCombo> value_ = ModifierKey::rightOption;
};

} // namespace lumeno
