#include "platform/linux/X11ModifierState.h"

#include "platform/linux/X11KeyCodes.h"
#include "platform/linux/X11Keymap.h"

namespace lumeno {

X11ModifierState::X11ModifierState(std::shared_ptr<XcbConnection> connection) : x_(std::move(connection)) {}

quint64 X11ModifierState::flags() const {
    quint64 word = 0;
    for (const xcb_keycode_t key : X11Keymap::heldKeys(*x_))
        word |= X11KeyCodes::modifierBits(key);
    return word;
}

} // namespace lumeno
