#include "platform/linux/XcbConnection.h"

#include <QSocketNotifier>

namespace lumeno {

std::shared_ptr<XcbConnection> XcbConnection::open(const QByteArray& display) {
    const QByteArray name = display.isEmpty() ? qgetenv("DISPLAY") : display;
    if (name.isEmpty())
        return nullptr;
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(name.constData(), &screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::shared_ptr<XcbConnection>(new XcbConnection(connection, screen));
}

XcbConnection::XcbConnection(xcb_connection_t* connection, int screen)
    : connection_(connection), screen_(screen),
      notifier_(new QSocketNotifier(xcb_get_file_descriptor(connection), QSocketNotifier::Read, this)) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int index = 0; screens.rem && index < screen; ++index)
        xcb_screen_next(&screens);
    if (screens.rem)
        root_ = screens.data->root;
    connect(notifier_, &QSocketNotifier::activated, this, &XcbConnection::drain);
}

XcbConnection::~XcbConnection() {
    delete notifier_; // before the descriptor it watches closes
    xcb_disconnect(connection_);
}

xcb_atom_t XcbConnection::atom(const char* name) {
    const QByteArray key(name);
    if (const auto known = atoms_.constFind(key); known != atoms_.constEnd())
        return *known;
    const auto answer =
        reply(xcb_intern_atom_reply, xcb_intern_atom(connection_, 0, uint16_t(key.size()), key.constData()));
    const xcb_atom_t atom = answer ? answer->atom : xcb_atom_t(XCB_NONE);
    if (atom != XCB_NONE)
        atoms_.insert(key, atom);
    return atom;
}

const xcb_query_extension_reply_t* XcbConnection::extension(xcb_extension_t& id) {
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(connection_, &id);
    return data && data->present ? data : nullptr;
}

XcbReply<xcb_generic_error_t> XcbConnection::check(xcb_void_cookie_t cookie) {
    XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, cookie));
    drainSoon();
    return error;
}

int XcbConnection::addListener(Listener listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void XcbConnection::removeListener(int handle) {
    std::erase_if(listeners_, [handle](const auto& entry) { return entry.first == handle; });
}

void XcbConnection::drainSoon() {
    if (std::exchange(drainPending_, true))
        return;
    QMetaObject::invokeMethod(this, &XcbConnection::drain, Qt::QueuedConnection);
}

void XcbConnection::drain() {
    drainPending_ = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const XcbReply<xcb_generic_event_t> owned(event);
        // A copy: a listener may add or remove listeners while it runs.
        const auto listeners = listeners_;
        for (const auto& [handle, listener] : listeners)
            listener(*event);
    }
}

} // namespace lumeno
