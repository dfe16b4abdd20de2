#include "linux/harness/DesktopUser.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/xtest.h>

namespace lumeno::desktop {

DesktopUser::DesktopUser() : x_(XcbConnection::open()) {}

DesktopUser::~DesktopUser() = default;

void DesktopUser::press(quint8 keyCode) {
    send(XCB_KEY_PRESS, keyCode);
}

void DesktopUser::release(quint8 keyCode) {
    send(XCB_KEY_RELEASE, keyCode);
}

void DesktopUser::tap(quint8 keyCode) {
    press(keyCode);
    release(keyCode);
}

void DesktopUser::send(quint8 type, quint8 keyCode) {
    xcb_test_fake_input(x_->get(), type, keyCode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    // A reply means the server has handled the key: its events are on their way to every client.
    x_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(x_->get()));
}

} // namespace lumeno::desktop
