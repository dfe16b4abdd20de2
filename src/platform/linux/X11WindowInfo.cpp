#include "platform/linux/X11WindowInfo.h"

#include "platform/linux/XcbConnection.h"

#include <xcb/res.h>

#include <QByteArray>

namespace lumeno {

namespace {

// Property values can be long (titles): ask for plenty, in 32-bit units.
constexpr uint32_t propertyLength = 4096;

XcbReply<xcb_get_property_reply_t> property(XcbConnection& x, xcb_window_t window, xcb_atom_t name,
                                            xcb_atom_t type) {
    if (name == XCB_NONE)
        return nullptr;
    auto reply = x.reply(xcb_get_property_reply,
                         xcb_get_property(x.get(), 0, window, name, type, 0, propertyLength));
    if (!reply || reply->type == XCB_NONE)
        return nullptr;
    return reply;
}

QByteArray bytesOf(const xcb_get_property_reply_t& reply) {
    return QByteArray(static_cast<const char*>(xcb_get_property_value(&reply)),
                      xcb_get_property_value_length(&reply) * (reply.format / 8));
}

std::optional<quint32> cardinal(XcbConnection& x, xcb_window_t window, const char* name) {
    const auto reply = property(x, window, x.atom(name), XCB_ATOM_CARDINAL);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 1)
        return std::nullopt;
    return *static_cast<const quint32*>(xcb_get_property_value(reply.get()));
}

std::optional<qint64> clientPidFromResources(XcbConnection& x, xcb_window_t window) {
    if (!x.extension(xcb_res_id))
        return std::nullopt;
    const auto version = x.reply(xcb_res_query_version_reply, xcb_res_query_version(x.get(), 1, 2));
    if (!version || (version->server_major == 1 && version->server_minor < 2))
        return std::nullopt;
    const xcb_res_client_id_spec_t wanted{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const auto ids = x.reply(xcb_res_query_client_ids_reply, xcb_res_query_client_ids(x.get(), 1, &wanted));
    if (!ids)
        return std::nullopt;
    for (auto it = xcb_res_query_client_ids_ids_iterator(ids.get()); it.rem; xcb_res_client_id_value_next(&it)) {
        const auto& [clientId, length] = *it.data;
        if ((clientId.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) && length >= 4)
            return qint64(*xcb_res_client_id_value_value(it.data));
    }
    return std::nullopt;
}

} // namespace

std::optional<xcb_window_t> X11WindowInfo::windowProperty(XcbConnection& x, xcb_window_t window, const char* name) {
    const auto reply = property(x, window, x.atom(name), XCB_ATOM_WINDOW);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 1)
        return std::nullopt;
    const xcb_window_t value = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    return value == XCB_NONE ? std::nullopt : std::optional(value);
}

QString X11WindowInfo::title(XcbConnection& x, xcb_window_t window) {
    if (const auto name = property(x, window, x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING")))
        return QString::fromUtf8(bytesOf(*name));
    if (const auto name = property(x, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY))
        return QString::fromLatin1(bytesOf(*name));
    return {};
}

std::optional<X11WindowInfo::WindowClass> X11WindowInfo::windowClass(XcbConnection& x, xcb_window_t window) {
    const auto reply = property(x, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    if (!reply)
        return std::nullopt;
    const QList<QByteArray> parts = bytesOf(*reply).split('\0');
    if (parts.value(0).isEmpty() && parts.value(1).isEmpty())
        return std::nullopt;
    return WindowClass{QString::fromLatin1(parts.value(0)), QString::fromLatin1(parts.value(1))};
}

std::optional<qint64> X11WindowInfo::processId(XcbConnection& x, xcb_window_t window) {
    if (const auto pid = clientPidFromResources(x, window))
        return pid;
    if (const auto pid = cardinal(x, window, "_NET_WM_PID"); pid && *pid > 0)
        return qint64(*pid);
    return std::nullopt;
}

std::optional<xcb_window_t> X11WindowInfo::topLevel(XcbConnection& x, xcb_window_t window) {
    // Deeper than any real window nesting; only guards against a tree that changes under us.
    for (int level = 0; level < 64 && window != XCB_NONE; ++level) {
        const auto tree = x.reply(xcb_query_tree_reply, xcb_query_tree(x.get(), window));
        if (!tree || window == tree->root)
            return std::nullopt;
        if (tree->parent == tree->root)
            return window;
        window = tree->parent;
    }
    return std::nullopt;
}

bool X11WindowInfo::exists(XcbConnection& x, xcb_window_t window) {
    return window != XCB_NONE && x.reply(xcb_get_window_attributes_reply, xcb_get_window_attributes(x.get(), window));
}

} // namespace lumeno
