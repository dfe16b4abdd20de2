#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// A single key held alone as the hot key: a right-hand modifier, or fn.
enum class ModifierKey { rightOption, rightCommand, rightControl, fn };

// "Right ⌥", "Right ⌘", "Right ⌃" or "fn", wherever the hot key is named.
QString displayName(ModifierKey key);

// The settings file's names: "rightOption", "rightCommand", "rightControl", "fn".
QString rawValue(ModifierKey key);
std::optional<ModifierKey> modifierKeyFromRawValue(const QString& raw);

} // namespace lumeno
