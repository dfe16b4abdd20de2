#include "platform/linux/X11SelectionOwnerWatch.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/xfixes.h>

#include <utility>

namespace lumeno {

X11SelectionOwnerWatch::X11SelectionOwnerWatch(std::shared_ptr<XcbConnection> x, const QByteArray& selection,
                                               std::function<void()> changed)
    : x_(std::move(x)), changed_(std::move(changed)) {
    xcb_connection_t* c = x_->get();
    selection_ = x_->atom(selection.constData());
    const auto owner = x_->reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(c, selection_));
    owner_ = owner ? owner->owner : XCB_NONE;

    const xcb_query_extension_reply_t* xfixes = x_->extension(xcb_xfixes_id);
    if (!xfixes || !x_->reply(xcb_xfixes_query_version_reply, xcb_xfixes_query_version(c, 1, 0)))
        return;
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
            setOwner(change.subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER ? change.owner : XCB_NONE);
    });
}

X11SelectionOwnerWatch::~X11SelectionOwnerWatch() {
    if (listener_)
        x_->removeListener(listener_);
}

void X11SelectionOwnerWatch::setOwner(xcb_window_t owner) {
    if (std::exchange(owner_, owner) != owner)
        changed_();
}

} // namespace lumeno
