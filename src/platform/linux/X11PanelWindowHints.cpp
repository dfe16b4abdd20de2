#include "platform/linux/X11PanelWindowHints.h"

#include "platform/linux/XcbConnection.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#include <xcb/xfixes.h>

namespace lumeno {

namespace {

Display* x11Display() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

X11PanelWindowHints::X11PanelWindowHints(std::shared_ptr<XcbConnection> x) : x_(std::move(x)) {
    if (x_)
        watchCompositingManager();
}

X11PanelWindowHints::~X11PanelWindowHints() {
    if (x_ && listener_)
        x_->removeListener(listener_);
}

void X11PanelWindowHints::watchCompositingManager() {
    xcb_connection_t* c = x_->get();
    selection_ = x_->atom(QByteArray("_NET_WM_CM_S" + QByteArray::number(x_->screen())).constData());
    const auto owner = x_->reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(c, selection_));
    setCompositing(owner && owner->owner != XCB_NONE);

    const xcb_query_extension_reply_t* xfixes = x_->extension(xcb_xfixes_id);
    if (!xfixes || !x_->reply(xcb_xfixes_query_version_reply, xcb_xfixes_query_version(c, 1, 0)))
        return; // the state read now stays the answer
    xcb_xfixes_select_selection_input(c, x_->root(), selection_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                          | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    x_->flush();
    const uint8_t notify = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    listener_ = x_->addListener([this, notify](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != notify)
            return;
        const auto& change = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
        if (change.selection == selection_)
            setCompositing(change.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER
                           && change.owner != XCB_NONE);
    });
}

void X11PanelWindowHints::setCompositing(bool compositing) {
    if (std::exchange(compositing_, compositing) != compositing)
        emit compositingChanged();
}

void X11PanelWindowHints::setInputArea(QWindow& panel, const QRect& area) {
    Display* display = x11Display();
    int eventBase = 0, errorBase = 0;
    if (!display || !XShapeQueryExtension(display, &eventBase, &errorBase))
        return;
    // The shape is in the native window's pixels.
    const qreal scale = panel.devicePixelRatio();
    XRectangle rectangle{short(area.x() * scale), short(area.y() * scale), static_cast<unsigned short>(area.width() * scale),
                         static_cast<unsigned short>(area.height() * scale)};
    XShapeCombineRectangles(display, Window(panel.winId()), ShapeInput, 0, 0, &rectangle, 1, ShapeSet, Unsorted);
    XFlush(display);
}

} // namespace lumeno
