#pragma once

#include <xcb/xcb.h>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace lumeno {

class XcbConnection;

// The X server's keyboard as the core protocol describes it: which key symbols each key code types (in every
// group and level) and which key codes set each of the eight modifier bits. Read anew whenever needed, so a
// layout switched meanwhile is never missed.
class X11Keymap {
public:
    // Key codes from `minKeyCode` on, `symbolsPerKey` symbols each; for each modifier bit (Shift, Lock,
    // Control, Mod1 to Mod5) the key codes that set it.
    X11Keymap(xcb_keycode_t minKeyCode, int symbolsPerKey, std::vector<xcb_keysym_t> symbols,
              std::array<std::vector<xcb_keycode_t>, 8> modifierKeys);

    bool operator==(const X11Keymap&) const = default;

    // None when the server did not answer.
    static std::optional<X11Keymap> read(XcbConnection& connection);

    // The key codes held down right now.
    static std::vector<xcb_keycode_t> heldKeys(XcbConnection& connection);

    // The key that types `symbol` in some group or level, the one in the earliest column first.
    std::optional<xcb_keycode_t> keyCodeOf(xcb_keysym_t symbol) const;
    // The symbol in one column of the key's row (group 1 level 1 is column 0); 0 when there is none.
    xcb_keysym_t symbol(xcb_keycode_t keyCode, int column) const;
    // Whether the key types anything at all.
    bool hasKey(xcb_keycode_t keyCode) const;
    // The modifier mask (XCB_MOD_MASK_*) set by a key typing `symbol`; 0 when no such key sets one.
    uint16_t modifierMaskOf(xcb_keysym_t symbol) const;
    // The highest key code the server has that types nothing and sets no modifier; none when every key
    // types something.
    std::optional<xcb_keycode_t> unusedKeyCode() const;
    // Every key code that sets some modifier.
    std::vector<xcb_keycode_t> modifierKeyCodes() const;

private:
    std::span<const xcb_keysym_t> symbolsOf(xcb_keycode_t keyCode) const;

    xcb_keycode_t minKeyCode_;
    int symbolsPerKey_;
    std::vector<xcb_keysym_t> symbols_;
    std::array<std::vector<xcb_keycode_t>, 8> modifierKeys_;
};

} // namespace lumeno
