#include "e2e/harness/WindowDrawing.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/damage.h>

namespace lumeno::e2e {

WindowDrawing::WindowDrawing(xcb_window_t window) : x_(XcbConnection::open()), window_(window) {
    const xcb_query_extension_reply_t* damage = x_ ? x_->extension(xcb_damage_id) : nullptr;
    if (!damage || !x_->reply(xcb_damage_query_version_reply, xcb_damage_query_version(x_->get(), 1, 1)))
        return;
    damage_ = xcb_generate_id(x_->get());
    xcb_damage_create(x_->get(), damage_, window_, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    // The server reports the whole of a visible window as damaged at once: only what is reported after that
    // report is cleared (events carry the number of the last request of ours the server had handled).
    const uint16_t cleared = uint16_t(xcb_damage_subtract(x_->get(), damage_, XCB_NONE, XCB_NONE).sequence);
    const uint8_t notify = damage->first_event + XCB_DAMAGE_NOTIFY;
    listener_ = x_->addListener([this, notify, cleared](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != notify)
            return;
        const auto& report = reinterpret_cast<const xcb_damage_notify_event_t&>(event);
        if (report.drawable == window_ && uint16_t(report.sequence - cleared) < 0x8000)
            drawn_ = true;
    });

    const auto geometry = x_->reply(xcb_get_geometry_reply, xcb_get_geometry(x_->get(), window_));
    if (!geometry)
        return;
    xcb_expose_event_t expose{};
    expose.response_type = XCB_EXPOSE;
    expose.window = window_;
    expose.width = geometry->width;
    expose.height = geometry->height;
    xcb_send_event(x_->get(), 0, window_, XCB_EVENT_MASK_EXPOSURE, reinterpret_cast<const char*>(&expose));
    x_->flush();
}

WindowDrawing::~WindowDrawing() {
    if (damage_ == XCB_NONE)
        return;
    x_->removeListener(listener_);
    xcb_damage_destroy(x_->get(), damage_);
    x_->flush();
}

} // namespace lumeno::e2e
