#include "platform/linux/harness/FullScreenWindow.h"

#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/WindowFocus.h"
#include "platform/linux/XcbConnection.h"

namespace lumeno::desktop {

FullScreenWindow::FullScreenWindow(QColor colour) : x_(XcbConnection::open()), colour_(colour) {
    if (!x_)
        return;
    xcb_connection_t* c = x_->get();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    window_ = xcb_generate_id(c);
    const uint32_t values[] = {colour.rgb() & 0xffffff, XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, x_->root(), 0, 0, screen->width_in_pixels,
                      screen->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const QByteArray title = "Full screen";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, title.size(),
                        title.constData());
    const xcb_atom_t fullScreen = x_->atom("_NET_WM_STATE_FULLSCREEN");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, x_->atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1,
                        &fullScreen);
    xcb_map_window(c, window_);
    x_->flush();
    x_->addListener([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != XCB_BUTTON_PRESS)
            return;
        const auto& press = reinterpret_cast<const xcb_button_press_event_t&>(event);
        if (press.event == window_)
            clicks_ << QPoint(press.root_x, press.root_y);
    });
}

FullScreenWindow::~FullScreenWindow() {
    if (x_ && window_ != XCB_NONE) {
        xcb_destroy_window(x_->get(), window_);
        x_->flush();
    }
}

bool FullScreenWindow::hasFocus() {
    return x_ && desktop::hasFocus(*x_, window_);
}

bool FullScreenWindow::waitUntilReady() {
    if (!x_)
        return false;
    // A new window is not always given the focus (the window manager guards the window the user was
    // working in, and a manager that has just started gives the focus to itself once): ask for it, and
    // ask again while it has not come.
    int checks = 0;
    return DesktopTest::waitUntil([&] {
        const auto geometry = x_->reply(xcb_get_geometry_reply, xcb_get_geometry(x_->get(), window_));
        const auto root = x_->reply(xcb_get_geometry_reply, xcb_get_geometry(x_->get(), x_->root()));
        const bool fullScreen =
            geometry && root && geometry->width == root->width && geometry->height == root->height;
        if (fullScreen && hasFocus())
            return true;
        if (checks++ % 10 == 0)
            activate();
        return false;
    });
}

void FullScreenWindow::activate() {
    // As from a pager, which is honoured whatever the focus-stealing rules; full screen again, in case
    // the manager let go of that state.
    desktop::activate(*x_, window_);
    askWindowManager(*x_, window_, "_NET_WM_STATE", {1, x_->atom("_NET_WM_STATE_FULLSCREEN"), 0});
}

} // namespace lumeno::desktop
