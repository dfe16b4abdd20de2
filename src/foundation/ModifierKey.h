#pragma once

#include "support/RawValue.h"

#include <QObject>
#include <QString>

namespace lumeno {

// Its own namespace only because Qt's meta-object for the names is one per namespace.
namespace ModifierKeyEnum {
Q_NAMESPACE
// A single key held alone as the hot key: a right-hand modifier, or fn. The names (rawValue) are the
// settings file's: on a PC keyboard rightOption is the right Alt key, rightCommand the right Super key.
enum class ModifierKey { rightOption, rightCommand, rightControl, fn };
Q_ENUM_NS(ModifierKey)
} // namespace ModifierKeyEnum
using ModifierKeyEnum::ModifierKey;

// The key's virtual key code; its name to the user is KeyboardLayout::displayName of that code.
quint16 keyCode(ModifierKey key);
// The modifier flag that, held with the key, asks for edit mode: Super, or Alt when the key is right Super.
quint64 editModifier(ModifierKey key);

} // namespace lumeno
