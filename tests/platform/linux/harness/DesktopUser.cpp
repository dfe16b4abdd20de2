#include "platform/linux/harness/DesktopUser.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/xtest.h>

#include <optional>

namespace lumeno::desktop {

namespace {

struct Stroke {
    quint8 keyCode = 0;
    bool shifted = false;
};

// The key typing `character` in the first group of the current layout, and whether it needs Shift; the
// keysyms of printable ASCII are the characters themselves.
std::optional<Stroke> strokeFor(XcbConnection& x, QChar character) {
    const xcb_setup_t* setup = xcb_get_setup(x.get());
    const quint8 first = setup->min_keycode;
    const auto mapping = x.reply(xcb_get_keyboard_mapping_reply,
                                 xcb_get_keyboard_mapping(x.get(), first, quint8(setup->max_keycode - first + 1)));
    if (!mapping)
        return std::nullopt;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKey = mapping->keysyms_per_keycode;
    const int count = xcb_get_keyboard_mapping_keysyms_length(mapping.get()) / perKey;
    const xcb_keysym_t wanted = character == u'\n' ? 0xff0d : character.unicode();
    for (int level = 0; level < std::min(perKey, 2); ++level) {
        for (int key = 0; key < count; ++key) {
            if (symbols[key * perKey + level] == wanted)
                return Stroke{quint8(first + key), level == 1};
        }
    }
    return std::nullopt;
}

} // namespace

DesktopUser::DesktopUser() : x_(XcbConnection::open()) {}

DesktopUser::~DesktopUser() = default;

void DesktopUser::press(quint8 keyCode) {
    send(XCB_KEY_PRESS, keyCode);
}

void DesktopUser::release(quint8 keyCode) {
    send(XCB_KEY_RELEASE, keyCode);
}

void DesktopUser::releaseAfter(quint8 keyCode, quint32 milliseconds) {
    send(XCB_KEY_RELEASE, keyCode, 0, 0, milliseconds);
}

void DesktopUser::tap(quint8 keyCode) {
    press(keyCode);
    release(keyCode);
}

bool DesktopUser::type(const QString& text) {
    for (const QChar character : text) {
        const std::optional<Stroke> stroke = strokeFor(*x_, character);
        if (!stroke)
            return false;
        if (stroke->shifted)
            press(leftShift);
        tap(stroke->keyCode);
        if (stroke->shifted)
            release(leftShift);
    }
    return true;
}

void DesktopUser::moveTo(int x, int y) {
    send(XCB_MOTION_NOTIFY, 0, x, y);
}

void DesktopUser::click(int x, int y, quint8 button) {
    moveTo(x, y);
    pressButton(button);
    releaseButton(button);
}

void DesktopUser::pressButton(quint8 button) {
    send(XCB_BUTTON_PRESS, button);
}

void DesktopUser::releaseButton(quint8 button) {
    send(XCB_BUTTON_RELEASE, button);
}

void DesktopUser::send(quint8 type, quint8 detail, int x, int y, quint32 delayMs) {
    // XTest's time is a delay: the server waits that long before it takes the input, and so before it
    // answers this connection's next request.
    xcb_test_fake_input(x_->get(), type, detail, delayMs, type == XCB_MOTION_NOTIFY ? x_->root() : XCB_NONE,
                        qint16(x), qint16(y), 0);
    // A reply means the server has handled the input: its events are on their way to every client.
    x_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(x_->get()));
}

} // namespace lumeno::desktop
