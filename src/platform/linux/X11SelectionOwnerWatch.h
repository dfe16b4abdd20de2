#pragma once

#include <QByteArray>

#include <xcb/xcb.h>

#include <functional>
#include <memory>

namespace lumeno {

class XcbConnection;

// Whether a selection of the screen (a manager's _NET_..._S<n>) has an owner, watched through XFixes: a
// program that takes it, or one that ends while holding it, is seen at once. Without XFixes the owner read
// at the start stays the answer.
class X11SelectionOwnerWatch {
public:
    // `changed` is called with the new answer each time it changes, never for the first reading.
    X11SelectionOwnerWatch(std::shared_ptr<XcbConnection> x, const QByteArray& selection,
                           std::function<void(bool owned)> changed);
    ~X11SelectionOwnerWatch();
    X11SelectionOwnerWatch(const X11SelectionOwnerWatch&) = delete;
    X11SelectionOwnerWatch& operator=(const X11SelectionOwnerWatch&) = delete;

    bool isOwned() const { return owned_; }

private:
    void setOwned(bool owned);

    std::shared_ptr<XcbConnection> x_;
    std::function<void(bool)> changed_;
    xcb_atom_t selection_ = XCB_NONE;
    int listener_ = 0;
    bool owned_ = false;
};

} // namespace lumeno
