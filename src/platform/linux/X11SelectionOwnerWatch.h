#pragma once

#include <QByteArray>

#include <xcb/xcb.h>

#include <functional>
#include <memory>

namespace lumeno {

class XcbConnection;

// Who owns a selection of the screen (a manager's _NET_..._S<n>), watched through XFixes: a program that
// takes it (from nobody or from another), or one that ends while holding it, is seen at once. Without XFixes
// the owner read at the start stays the answer.
class X11SelectionOwnerWatch {
public:
    // `changed` is called each time the owner changes, never for the first reading.
    X11SelectionOwnerWatch(std::shared_ptr<XcbConnection> x, const QByteArray& selection,
                           std::function<void()> changed);
    ~X11SelectionOwnerWatch();
    X11SelectionOwnerWatch(const X11SelectionOwnerWatch&) = delete;
    X11SelectionOwnerWatch& operator=(const X11SelectionOwnerWatch&) = delete;

    // The owner's window; XCB_NONE when nobody owns it.
    xcb_window_t owner() const { return owner_; }
    bool isOwned() const { return owner_ != XCB_NONE; }

private:
    void setOwner(xcb_window_t owner);

    std::shared_ptr<XcbConnection> x_;
    std::function<void()> changed_;
    xcb_atom_t selection_ = XCB_NONE;
    int listener_ = 0;
    xcb_window_t owner_ = XCB_NONE;
};

} // namespace lumeno
