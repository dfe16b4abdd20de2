#include "e2e/harness/Popups.h"

#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

namespace lumeno::e2e {

std::vector<xcb_window_t> popupsOf(XcbConnection& x, qint64 pid) {
    std::vector<xcb_window_t> popups;
    const auto tree = x.reply(xcb_query_tree_reply, xcb_query_tree(x.get(), x.root()));
    if (!tree)
        return popups;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int index = 0; index < xcb_query_tree_children_length(tree.get()); ++index) {
        const auto attributes =
            x.reply(xcb_get_window_attributes_reply, xcb_get_window_attributes(x.get(), children[index]));
        if (attributes && attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            X11WindowInfo::processId(x, children[index]) == pid)
            popups.push_back(children[index]);
    }
    return popups;
}

} // namespace lumeno::e2e
