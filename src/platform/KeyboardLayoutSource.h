#pragma once

#include <QObject>
#include <QString>
#include <optional>

namespace lumeno {

// The current keyboard layout, asked key by key. Keys are named by the virtual key codes the settings store
// (VirtualKeyCodes.h), whatever the desktop's own codes are.
class KeyboardLayoutSource : public QObject {
    Q_OBJECT
public:
    // What the layout makes a key do when pressed on its own, beyond typing a character or being the
    // modifier its place suggests. German, French, Spanish, Polish and Nordic layouts make the right Alt key
    // AltGr (ISO_Level3_Shift), which types @, € or {; others make a key Compose, or a switch between input
    // languages (Hangul, a group toggle). Such a key belongs to typing.
    enum class KeyRole { ordinary, characterShift, compose, inputSwitch };

    // What the key types without modifiers in the current layout; none for keys that type nothing
    // printable (and for dead keys).
    virtual std::optional<QString> character(quint16 virtualKeyCode) const = 0;
    // The key's role in the current layout and group.
    virtual KeyRole role(quint16 virtualKeyCode) const = 0;
    // The physical key behind a key event's native scan code, the same key on every layout; none for a code
    // this desktop does not give or that names no key the program knows.
    virtual std::optional<quint16> physicalKey(quint32 nativeScanCode) const = 0;

signals:
    // The layout, its key map or the active group changed: every answer above may be different now.
    void changed();
};

} // namespace lumeno
