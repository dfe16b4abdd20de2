#pragma once

#include <QtGlobal>
#include <optional>

namespace lumeno {

// The program's virtual key codes (VirtualKeyCodes.h) and X11 key codes (evdev codes plus 8, the same on
// every layout) name the same physical keys. fn has no X11 key code: the keyboard handles it itself.
class X11KeyCodes {
public:
    static std::optional<quint8> fromVirtual(quint16 virtualKeyCode);
    static std::optional<quint16> toVirtual(quint8 x11KeyCode);
    // What holding the key adds to the modifier word (generic flag and side bit); 0 for other keys. By key
    // code, whatever the layout makes of the key: under a German layout 108 types AltGr, yet it is still
    // the key the user chose as right Option.
    static quint64 modifierBits(quint8 x11KeyCode);
};

} // namespace lumeno
