#pragma once

#include "platform/KeyboardLayoutSource.h"

#include <QString>
#include <optional>

namespace lumeno {

// How this desktop names keys to the user, in one place: "Right Alt", "AltGr", "Right Ctrl", "Super",
// "Ctrl+Super+Space". Every view, message, record and log line that names a key takes its words from here.
// Keys are the virtual key codes and modifier flags of VirtualKeyCodes.h, the values the settings keep.
namespace KeyNames {

// The name of a key that types no character: modifiers, Space, Return, arrows and the like; none for the
// keys that are named by what they type in the current layout (letters, digits, punctuation, F keys).
std::optional<QString> special(quint16 keyCode);

// What a key is called when the layout gives it a role in typing: "AltGr" for a key that shifts to more
// characters (the right Alt key of most European layouts), "Compose", "Layout Switch"; none for an
// ordinary key.
std::optional<QString> role(KeyboardLayoutSource::KeyRole role);

// The name of one generic modifier flag: "Ctrl", "Alt", "Shift" or "Super".
QString modifier(quint64 flag);

// Held generic modifiers and a key written the desktop's way, "Ctrl+Alt+Shift+Super+" in that order (only
// those held), then the key's name.
QString combination(quint64 modifiers, const QString& keyName);

// A key held together with another, "Right Alt+Super".
QString together(const QString& first, const QString& second);

} // namespace KeyNames

} // namespace lumeno
