#pragma once

#include "platform/KeyboardLayoutSource.h"

#include <memory>
#include <optional>

namespace lumeno {

class X11Keymap;
class XcbConnection;

// The X server's current keyboard layout and its active group, kept on the program's own connection and
// read again whenever XKB says the keyboard, its map or its group changed (setxkbmap, a layout switch in
// the desktop's panel, a group toggle key), so questions are answered without asking the server. Without
// an X server no key has a character or a role, so callers fall back to their own names and codes.
class LinuxKeyboardLayoutSource final : public KeyboardLayoutSource {
    Q_OBJECT
public:
    explicit LinuxKeyboardLayoutSource(std::shared_ptr<XcbConnection> connection);
    LinuxKeyboardLayoutSource();
    ~LinuxKeyboardLayoutSource() override;

    std::optional<QString> character(quint16 virtualKeyCode) const override;
    KeyRole role(quint16 virtualKeyCode) const override;
    std::optional<quint16> physicalKey(quint32 nativeScanCode) const override;

    // The text of a key symbol: Latin-1 symbols and Unicode symbols; none for the rest (function keys,
    // dead keys, and the legacy non-Latin-1 symbol ranges).
    static std::optional<QString> textOfKeySymbol(unsigned long keySymbol);
    // The role of a key that types `keySymbol` when pressed alone.
    static KeyRole roleOfKeySymbol(unsigned long keySymbol);

private:
    void handle(quint8 type, const void* event);
    void refreshSoon();
    // Reads the key map and the group again; true when either differs from before.
    bool refresh();
    // The symbol the key types alone in the active group; 0 when it types none.
    unsigned long symbolOf(quint16 virtualKeyCode) const;

    std::shared_ptr<XcbConnection> x_;
    int listener_ = 0;
    quint8 xkbEvent_ = 0; // the first event number of XKB; 0 without it
    std::unique_ptr<X11Keymap> keymap_;
    int group_ = 0;
    bool refreshPending_ = false;
};

} // namespace lumeno
