#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace lumeno {

// A reply from the X server, freed with the C allocator like every xcb reply.
struct XcbFree {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <class Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

// The program's own connection to the X server, apart from Qt's, so a port can select events and grab keys
// without touching the windows Qt manages. Events are read on the main thread through the connection's
// file descriptor and handed to every listener.
//
// xcb reads events into its queue while it waits for a reply, and the descriptor then stays quiet about
// them; so the queue is drained again on the next turn of the event loop after every reply.
class XcbConnection final : public QObject {
    Q_OBJECT
public:
    using Listener = std::function<void(const xcb_generic_event_t& event)>;

    // A connection to $DISPLAY (or `display`); none when no X server answers.
    static std::shared_ptr<XcbConnection> open(const QByteArray& display = {});
    ~XcbConnection() override;

    xcb_connection_t* get() const { return connection_; }
    xcb_window_t root() const { return root_; }
    // The number of the display's screen the connection was opened on.
    int screen() const { return screen_; }

    // The atom of `name`, asked once and remembered.
    xcb_atom_t atom(const char* name);
    // The major opcode and first event of an extension; none when the server lacks it.
    const xcb_query_extension_reply_t* extension(xcb_extension_t& id);

    // The reply to `cookie`, or nothing (errors are dropped: the caller's fallback is the answer).
    template <class Reply, class Cookie>
    XcbReply<Reply> reply(Reply* (*read)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie cookie) {
        xcb_generic_error_t* error = nullptr;
        XcbReply<Reply> answer(read(connection_, cookie, &error));
        std::free(error);
        drainSoon();
        return answer;
    }
    // The error of a checked request, none when it succeeded.
    XcbReply<xcb_generic_error_t> check(xcb_void_cookie_t cookie);

    // Registers a listener for every event read from now on; returns a handle for removeListener.
    int addListener(Listener listener);
    void removeListener(int handle);

    void flush() { xcb_flush(connection_); }

private:
    XcbConnection(xcb_connection_t* connection, int screen);
    void drainSoon();
    void drain();

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_NONE;
    int screen_ = 0;
    QSocketNotifier* notifier_;
    QHash<QByteArray, xcb_atom_t> atoms_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListener_ = 1;
    bool drainPending_ = false;
};

} // namespace lumeno
