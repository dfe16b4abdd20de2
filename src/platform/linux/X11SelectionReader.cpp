#include "platform/linux/X11SelectionReader.h"

#include "platform/linux/XcbConnection.h"
#include "support/PostedJob.h"

#include <QCoroFuture>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace lumeno {

namespace {

using Clock = std::chrono::steady_clock;

template <class Reply> XcbReply<Reply> take(Reply* reply) {
    return XcbReply<Reply>(reply);
}

} // namespace

// The reading thread's connection and window, made on first use and kept.
class X11SelectionReader::Session {
public:
    Session() : wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Session() {
        if (connection_)
            xcb_disconnect(connection_);
        if (wake_ >= 0)
            ::close(wake_);
    }

    // From any thread: the read under way ends as unanswered at once, and so does every later one.
    void stop() {
        stopped_ = true;
        const std::uint64_t one = 1;
        if (wake_ >= 0 && ::write(wake_, &one, sizeof one) < 0)
            return; // the counter is full: a wake-up is pending already
    }

    Transfer read(const Choice& choice) {
        if (stopped_ || !connect())
            return {false, {}};
        const XcbReply<xcb_get_selection_owner_reply_t> owner = take(xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, clipboard_), nullptr));
        if (!owner || owner->owner == XCB_NONE)
            return {};
        const std::optional<std::optional<QByteArray>> targets = convert(targets_);
        if (!targets)
            return {false, {}};
        Transfer transfer;
        if (!*targets)
            return transfer; // an owner that offers no list offers nothing
        for (const QString& name : choice(atomNames(**targets))) {
            const std::optional<std::optional<QByteArray>> data = convert(atom(name.toLatin1()));
            if (!data)
                return {false, {}};
            if (*data)
                transfer.forms.insert(name, **data);
        }
        return transfer;
    }

private:
    bool connect() {
        if (connection_)
            return !xcb_connection_has_error(connection_);
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            return false;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
        clipboard_ = atom("CLIPBOARD");
        targets_ = atom("TARGETS");
        incremental_ = atom("INCR");
        property_ = atom("LUMENO_SELECTION");
        return true;
    }

    xcb_atom_t atom(const QByteArray& name) {
        const XcbReply<xcb_intern_atom_reply_t> reply = take(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, uint16_t(name.size()), name.constData()), nullptr));
        return reply ? reply->atom : XCB_ATOM_NONE;
    }

    QStringList atomNames(const QByteArray& list) {
        const auto* atoms = reinterpret_cast<const xcb_atom_t*>(list.constData());
        const qsizetype count = list.size() / qsizetype(sizeof(xcb_atom_t));
        std::vector<xcb_get_atom_name_cookie_t> cookies;
        for (qsizetype i = 0; i < count; ++i)
            cookies.push_back(xcb_get_atom_name(connection_, atoms[i]));
        QStringList names;
        for (const xcb_get_atom_name_cookie_t cookie : cookies)
            if (const XcbReply<xcb_get_atom_name_reply_t> name =
                    take(xcb_get_atom_name_reply(connection_, cookie, nullptr)))
                names << QString::fromLatin1(xcb_get_atom_name_name(name.get()),
                                             xcb_get_atom_name_name_length(name.get()));
        return names;
    }

    // The owner's data in `target`: none when it did not answer in time, an empty optional when it refused.
    std::optional<std::optional<QByteArray>> convert(xcb_atom_t target) {
        xcb_delete_property(connection_, window_, property_);
        xcb_convert_selection(connection_, window_, clipboard_, target, property_, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        const XcbReply<xcb_generic_event_t> notified = waitFor([&](const xcb_generic_event_t& event) {
            if ((event.response_type & 0x7f) != XCB_SELECTION_NOTIFY)
                return false;
            const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(event);
            return notify.requestor == window_ && notify.selection == clipboard_ && notify.target == target &&
                   (notify.property == property_ || notify.property == XCB_ATOM_NONE);
        });
        if (!notified) {
            abandonProperty();
            return std::nullopt;
        }
        if (reinterpret_cast<const xcb_selection_notify_event_t*>(notified.get())->property == XCB_ATOM_NONE)
            return std::optional<QByteArray>();
        xcb_atom_t type = XCB_ATOM_NONE;
        QByteArray data = takeProperty(&type);
        if (type != incremental_)
            return std::optional(data);
        // A large answer comes in parts: each is put in the property once the previous one was taken, and
        // an empty part ends it.
        QByteArray whole;
        for (;;) {
            const XcbReply<xcb_generic_event_t> part = waitFor([&](const xcb_generic_event_t& event) {
                if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                    return false;
                const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
                return change.window == window_ && change.atom == property_ &&
                       change.state == XCB_PROPERTY_NEW_VALUE;
            });
            if (!part) {
                abandonProperty();
                return std::nullopt;
            }
            const QByteArray piece = takeProperty(&type);
            if (piece.isEmpty())
                return std::optional(whole);
            whole += piece;
        }
    }

    // An owner that did not answer in time may still answer later, into the property it was given: the
    // next requests name another, so a late answer is never taken for theirs.
    void abandonProperty() { property_ = atom("LUMENO_SELECTION_" + QByteArray::number(++abandoned_)); }

    // Reads and deletes the property the owner answered in.
    QByteArray takeProperty(xcb_atom_t* type) {
        const XcbReply<xcb_get_property_reply_t> reply =
            take(xcb_get_property_reply(connection_,
                                        xcb_get_property(connection_, 1, window_, property_,
                                                         XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                                        nullptr));
        xcb_flush(connection_);
        if (!reply)
            return {};
        *type = reply->type;
        return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                          xcb_get_property_value_length(reply.get()));
    }

    // The first event `wanted` takes, or none when answerMs pass without one.
    template <class Wanted> XcbReply<xcb_generic_event_t> waitFor(const Wanted& wanted) {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(answerMs);
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                XcbReply<xcb_generic_event_t> held(event);
                if (wanted(*held))
                    return held;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0 || stopped_ || xcb_connection_has_error(connection_))
                return nullptr;
            pollfd descriptors[] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {wake_, POLLIN, 0}};
            ::poll(descriptors, wake_ >= 0 ? 2 : 1, int(left));
        }
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t clipboard_ = XCB_ATOM_NONE;
    xcb_atom_t targets_ = XCB_ATOM_NONE;
    xcb_atom_t incremental_ = XCB_ATOM_NONE;
    xcb_atom_t property_ = XCB_ATOM_NONE;
    int abandoned_ = 0;
    const int wake_; // written by stop()
    std::atomic<bool> stopped_ = false;
};

X11SelectionReader::X11SelectionReader()
    : thread_(QStringLiteral("Clipboard")), session_(std::make_shared<Session>()) {}

X11SelectionReader::~X11SelectionReader() {
    session_->stop(); // before the thread is waited for
}

QCoro::Task<X11SelectionReader::Transfer> X11SelectionReader::read(Choice choice) {
    QFuture<Transfer> reading = postedJob([this](auto job) { thread_.post(std::move(job)); },
                                          [session = session_, choice = std::move(choice)] { return session->read(choice); });
    const Transfer transfer = co_await reading;
    co_return transfer;
}

} // namespace lumeno
