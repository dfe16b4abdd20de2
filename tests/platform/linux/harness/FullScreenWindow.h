#pragma once

#include <QColor>
#include <QList>
#include <QPoint>

#include <xcb/xcb.h>

#include <memory>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::desktop {

// Another application's window, full screen and in one colour, made by a client of its own: what lies
// under a floating panel, and the application the user works in while the panel is up. It records where
// it was clicked.
class FullScreenWindow {
public:
    explicit FullScreenWindow(QColor colour);
    ~FullScreenWindow();

    // Waits until the window manager shows it full screen with the keyboard focus.
    bool waitUntilReady();
    // Asks the window manager to bring it to the front and give it the focus again, as a click on it would.
    void activate();

    xcb_window_t window() const { return window_; }
    QColor colour() const { return colour_; }
    // Whether it has the keyboard focus: the X input focus and the window manager's active window.
    bool hasFocus();
    const QList<QPoint>& clicks() const { return clicks_; }

private:
    std::shared_ptr<XcbConnection> x_;
    QColor colour_;
    xcb_window_t window_ = XCB_NONE;
    QList<QPoint> clicks_;
};

} // namespace lumeno::desktop
