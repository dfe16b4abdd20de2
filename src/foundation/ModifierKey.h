#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// A single key held alone as the hot key: a right-hand modifier, or fn. The names are the settings file's:
// on a PC keyboard rightOption is the right Alt key, rightCommand the right Super key.
enum class ModifierKey { rightOption, rightCommand, rightControl, fn };

// The key's virtual key code; its name to the user is KeyboardLayout::displayName of that code.
quint16 keyCode(ModifierKey key);
// The modifier flag that, held with the key, asks for edit mode: Super, or Alt when the key is right Super.
quint64 editModifier(ModifierKey key);

// The settings file's names: "rightOption", "rightCommand", "rightControl", "fn".
QString rawValue(ModifierKey key);
std::optional<ModifierKey> modifierKeyFromRawValue(const QString& raw);

} // namespace lumeno
