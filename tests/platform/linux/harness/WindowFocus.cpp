#include "platform/linux/harness/WindowFocus.h"

#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

#include <algorithm>

namespace lumeno::desktop {

bool hasFocus(XcbConnection& x, xcb_window_t window) {
    const auto focus = x.reply(xcb_get_input_focus_reply, xcb_get_input_focus(x.get()));
    return focus && focus->focus == window && X11WindowInfo::windowProperty(x, x.root(), "_NET_ACTIVE_WINDOW") == window;
}

void askWindowManager(XcbConnection& x, xcb_window_t window, const char* type, std::array<uint32_t, 3> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x.atom(type);
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(x.get(), 0, x.root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    x.flush();
}

void activate(XcbConnection& x, xcb_window_t window) {
    askWindowManager(x, window, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0});
}

} // namespace lumeno::desktop
