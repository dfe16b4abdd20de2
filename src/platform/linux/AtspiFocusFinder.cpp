#include "platform/linux/AtspiFocusFinder.h"

#include <deque>

namespace lumeno {

std::optional<AtspiNode> AtspiFocusFinder::focused(qint64 pid) {
    for (const QString& bus : desktop_.applicationBuses(pid)) {
        // A new question gives an application that timed out before another chance.
        desktop_.client().forgive(bus);
        if (const std::optional<AtspiNode> reported = desktop_.reportedFocus(bus); reported && isFocused(*reported))
            return field(*reported);
        if (desktop_.client().isUnresponsive(bus))
            continue;
        if (const std::optional<AtspiNode> found = lookUp(bus))
            return field(*found);
    }
    return std::nullopt;
}

bool AtspiFocusFinder::isFocused(const AtspiNode& node) {
    const std::optional<AtspiStateSet> states = desktop_.client().states(node);
    return states && states->has(AtspiState::focused) && !states->has(AtspiState::defunct);
}

std::optional<AtspiNode> AtspiFocusFinder::activeWindow(const QString& bus) {
    AtspiClient& client = desktop_.client();
    if (const std::optional<AtspiNode> reported = desktop_.reportedActiveWindow(bus)) {
        const std::optional<AtspiStateSet> states = client.states(*reported);
        if (states && states->has(AtspiState::active))
            return reported;
    }
    const std::optional<std::vector<AtspiNode>> windows = client.children(AtspiNode::applicationRoot(bus));
    if (!windows)
        return std::nullopt;
    for (const AtspiNode& window : *windows) {
        const std::optional<AtspiStateSet> states = client.states(window);
        if (states && states->has(AtspiState::active))
            return window;
    }
    return std::nullopt;
}

std::optional<AtspiNode> AtspiFocusFinder::lookUp(const QString& bus) {
    const std::optional<AtspiNode> window = activeWindow(bus);
    if (!window)
        return std::nullopt;
    if (desktop_.supportsCollection(bus)) {
        const std::optional<std::vector<AtspiNode>> matches = desktop_.client().focusedDescendants(*window);
        // The last match is the deepest: the field inside a focused panel.
        if (matches)
            return matches->empty() ? std::nullopt : std::optional(matches->back());
    }
    return search(*window);
}

std::optional<AtspiNode> AtspiFocusFinder::search(const AtspiNode& window) {
    AtspiClient& client = desktop_.client();
    std::deque<AtspiNode> pending{window};
    for (int visited = 0; !pending.empty() && visited < searchLimit; ++visited) {
        const AtspiNode node = pending.front();
        pending.pop_front();
        const std::optional<AtspiStateSet> states = client.states(node);
        if (!states)
            continue;
        if (states->has(AtspiState::focused) && node != window)
            return node;
        // Nothing hidden holds the focus.
        if (!states->has(AtspiState::showing) && node != window)
            continue;
        if (const std::optional<std::vector<AtspiNode>> children = client.children(node))
            pending.insert(pending.begin(), children->begin(), children->end());
    }
    return std::nullopt;
}

AtspiNode AtspiFocusFinder::field(const AtspiNode& node) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts || facts->hasText())
        return node;
    if (const std::optional<AtspiNode> inner = focusedTextInside(node))
        return *inner;
    const std::optional<AtspiNode> parent = desktop_.client().parent(node);
    if (!parent)
        return node;
    const std::optional<AtspiDesktop::Facts> parentFacts = desktop_.facts(*parent);
    return parentFacts && parentFacts->hasText() ? *parent : node;
}

std::optional<AtspiNode> AtspiFocusFinder::focusedTextInside(const AtspiNode& node) {
    AtspiClient& client = desktop_.client();
    std::vector<AtspiNode> level{node};
    int asked = 0;
    for (int depth = 0; depth < maximumFocusedLevels && !level.empty(); ++depth) {
        std::vector<AtspiNode> next;
        for (const AtspiNode& parent : level) {
            const std::optional<std::vector<AtspiNode>> children = client.children(parent);
            // A long list is a document's or a table's rows, not the frames around an editor.
            if (!children || children->size() > maximumFocusedChildren)
                continue;
            for (const AtspiNode& child : *children) {
                if (++asked > maximumFocusedObjects)
                    return std::nullopt;
                const std::optional<AtspiStateSet> states = client.states(child);
                if (!states || !states->has(AtspiState::showing) || states->has(AtspiState::defunct))
                    continue;
                if (states->has(AtspiState::focused)) {
                    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(child);
                    if (facts && facts->hasText())
                        return child;
                }
                next.push_back(child);
            }
        }
        level = std::move(next);
    }
    return std::nullopt;
}

} // namespace lumeno
