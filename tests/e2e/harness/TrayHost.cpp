#include "e2e/harness/TrayHost.h"

#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

#include <QStandardPaths>

namespace lumeno::e2e {

namespace {

constexpr int startMs = 10000;

} // namespace

TrayHost::TrayHost() = default;

TrayHost::~TrayHost() {
    stop();
}

std::optional<xcb_window_t> TrayHost::selectionOwner() {
    const xcb_atom_t selection = x_->atom("_NET_SYSTEM_TRAY_S0");
    const auto reply = x_->reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(x_->get(), selection));
    if (!reply || reply->owner == XCB_NONE)
        return std::nullopt;
    return reply->owner;
}

bool TrayHost::start() {
    if (!x_)
        x_ = XcbConnection::open();
    if (!x_) {
        whyNot_ = QStringLiteral("no X server for the tray");
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty()) {
        whyNot_ = QStringLiteral("trayer is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    // A strip at the top right, tall and wide enough for a few icons, drawn on a visible colour so the
    // screenshots show where the tray is.
    const bool started = trayer_.start(
        QStringLiteral("trayer"),
        {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"),
         QStringLiteral("--widthtype"), QStringLiteral("pixel"), QStringLiteral("--width"), QStringLiteral("160"),
         QStringLiteral("--heighttype"), QStringLiteral("pixel"), QStringLiteral("--height"), QStringLiteral("32"),
         QStringLiteral("--transparent"), QStringLiteral("true"), QStringLiteral("--alpha"), QStringLiteral("0"),
         QStringLiteral("--tint"), QStringLiteral("0x3c4650"), QStringLiteral("--SetDockType"), QStringLiteral("true"),
         QStringLiteral("--SetPartialStrut"), QStringLiteral("true")});
    if (!started || !desktop::DesktopTest::waitUntil([this] { return selectionOwner().has_value(); }, startMs)) {
        trayer_.stop();
        whyNot_ = QStringLiteral("trayer did not take the tray selection");
        return false;
    }
    return true;
}

void TrayHost::stop() {
    if (!trayer_.isRunning())
        return;
    trayer_.stop();
    desktop::DesktopTest::waitUntil([this] { return !selectionOwner(); }, startMs);
}

bool TrayHost::isRunning() const {
    return trayer_.isRunning();
}

std::vector<xcb_window_t> TrayHost::iconsOf(qint64 pid) {
    std::vector<xcb_window_t> icons;
    if (!x_ || !isRunning())
        return icons;
    // Docked icons are embedded somewhere below the tray's own windows; walk the whole tree, it is small.
    std::vector<xcb_window_t> pending{x_->root()};
    const xcb_atom_t embedInfo = x_->atom("_XEMBED_INFO");
    // Qt marks its own windows for embedding too: a window the window manager manages is not docked.
    const xcb_atom_t managed = x_->atom("WM_STATE");
    while (!pending.empty()) {
        const xcb_window_t window = pending.back();
        pending.pop_back();
        const auto tree = x_->reply(xcb_query_tree_reply, xcb_query_tree(x_->get(), window));
        if (!tree)
            continue;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        pending.insert(pending.end(), children, children + xcb_query_tree_children_length(tree.get()));
        if (window == x_->root() || tree->parent == x_->root() || X11WindowInfo::processId(*x_, window) != pid)
            continue;
        const auto embedded = x_->reply(xcb_get_property_reply,
                                        xcb_get_property(x_->get(), 0, window, embedInfo, XCB_ATOM_ANY, 0, 2));
        const auto state = x_->reply(xcb_get_property_reply,
                                     xcb_get_property(x_->get(), 0, window, managed, XCB_ATOM_ANY, 0, 1));
        const auto attributes = x_->reply(xcb_get_window_attributes_reply, xcb_get_window_attributes(x_->get(), window));
        if (embedded && embedded->type != XCB_NONE && (!state || state->type == XCB_NONE) && attributes
            && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            icons.push_back(window);
    }
    return icons;
}

std::optional<std::pair<int, int>> TrayHost::centreOf(xcb_window_t window) {
    const auto geometry = x_->reply(xcb_get_geometry_reply, xcb_get_geometry(x_->get(), window));
    const auto place = x_->reply(xcb_translate_coordinates_reply,
                                 xcb_translate_coordinates(x_->get(), window, x_->root(), 0, 0));
    if (!geometry || !place)
        return std::nullopt;
    return std::pair{place->dst_x + geometry->width / 2, place->dst_y + geometry->height / 2};
}

} // namespace lumeno::e2e
