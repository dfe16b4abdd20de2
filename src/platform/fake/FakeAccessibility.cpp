#include "platform/fake/FakeAccessibility.h"

#include "platform/AXNames.h"

#include <algorithm>

namespace lumeno {

namespace {

bool isSecure(const FakeDesktop::Element& element) { return element.subrole == AXSubrole::secureTextField; }

std::optional<Accessibility::Value> nonEmpty(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

} // namespace

FakeAccessibility::FakeAccessibility(FakeDesktop& desktop, ManualClock* clock)
    : desktop_(desktop), clock_(clock) {}

void FakeAccessibility::setMessagingTimeout(double seconds) {
    desktop_.withState([&](State& state) { state.messagingTimeout = seconds; });
}

double FakeAccessibility::messagingTimeout() const {
    return desktop_.withState([](const State& state) { return state.messagingTimeout; });
}

FakeAccessibility::Node* FakeAccessibility::deliver(State& state, const AccessibleElement& element) {
    bool ok = false;
    const FakeDesktop::ElementId id = element.id.toInt(&ok);
    Node* node = ok ? state.node(id) : nullptr;
    if (!node || node->pid != element.pid)
        return nullptr;
    const auto application = state.applications.find(node->pid);
    const double delay = node->element.messagingDelay.value_or(
        application == state.applications.end() ? 0.0 : application->second.messagingDelay);
    const bool timesOut = delay > state.messagingTimeout;
    if (clock_)
        clock_->advance(std::min(delay, state.messagingTimeout));
    if (timesOut || node->element.failing)
        return nullptr;
    return node;
}

AccessibleElement FakeAccessibility::handle(const State& state, FakeDesktop::ElementId id) const {
    return {state.existing(id).pid, QString::number(id)};
}

std::optional<AccessibleElement> FakeAccessibility::focusedElement(qint64 pid) {
    return desktop_.withState([&](State& state) -> std::optional<AccessibleElement> {
        if (!state.focused || state.existing(*state.focused).pid != pid)
            return std::nullopt;
        const AccessibleElement focused = handle(state, *state.focused);
        if (!deliver(state, focused))
            return std::nullopt;
        return focused;
    });
}

std::optional<QString> FakeAccessibility::toolkitName(qint64 pid) {
    return desktop_.withState([&](const State& state) -> std::optional<QString> {
        const auto found = state.applications.find(pid);
        if (found == state.applications.end() || found->second.toolkit.isEmpty())
            return std::nullopt;
        return found->second.toolkit;
    });
}

std::optional<Accessibility::Value> FakeAccessibility::read(const State& state, FakeDesktop::ElementId id,
                                                            const QString& name) const {
    const Node& node = state.existing(id);
    const FakeDesktop::Element& element = node.element;
    const bool textReadable = element.value && element.exposesValue && !isSecure(element);
    if (name == AXAttribute::role)
        return element.role;
    if (name == AXAttribute::subrole)
        return nonEmpty(element.subrole);
    if (name == AXAttribute::title)
        return nonEmpty(element.title);
    if (name == AXAttribute::description)
        return nonEmpty(element.description);
    if (name == AXAttribute::value && textReadable)
        return *element.value;
    if (name == AXAttribute::selectedText && textReadable)
        return element.value->mid(element.selection.start, element.selection.length);
    if (name == AXAttribute::selectedTextRange && element.value)
        return element.selection;
    if (name == AXAttribute::url && element.url)
        return *element.url;
    if (name == AXAttribute::focused)
        return state.focused == id;
    if (name == AXAttribute::hidden)
        return element.hidden;
    if (name == AXAttribute::window) {
        for (auto ancestor = node.parent; ancestor; ancestor = state.existing(*ancestor).parent)
            if (state.existing(*ancestor).element.role == AXRole::window)
                return handle(state, *ancestor);
    }
    return std::nullopt;
}

std::optional<Accessibility::Value> FakeAccessibility::attribute(const AccessibleElement& element,
                                                                 const QString& name) {
    return desktop_.withState([&](State& state) -> std::optional<Value> {
        if (!deliver(state, element))
            return std::nullopt;
        return read(state, element.id.toInt(), name);
    });
}

std::optional<bool> FakeAccessibility::isSettable(const AccessibleElement& element, const QString& name) {
    return desktop_.withState([&](State& state) -> std::optional<bool> {
        const Node* node = deliver(state, element);
        if (!node)
            return std::nullopt;
        const bool textAttribute = name == AXAttribute::value || name == AXAttribute::selectedText ||
                                   name == AXAttribute::selectedTextRange || name == AXAttribute::focused;
        return textAttribute && node->element.editable;
    });
}

bool FakeAccessibility::setAttribute(const AccessibleElement& element, const QString& name, const Value& value) {
    return desktop_.withState([&](State& state) {
        Node* node = deliver(state, element);
        if (!node || !node->element.editable)
            return false;
        FakeDesktop::Element& target = node->element;
        const qsizetype length = target.value.value_or(QString()).size();
        if (name == AXAttribute::value && std::holds_alternative<QString>(value)) {
            target.value = std::get<QString>(value);
            target.selection = {target.value->size(), 0};
            return true;
        }
        if (name == AXAttribute::selectedText && std::holds_alternative<QString>(value)) {
            state.replaceSelection(*node, std::get<QString>(value));
            return true;
        }
        if (name == AXAttribute::selectedTextRange && std::holds_alternative<TextRange>(value)) {
            const TextRange range = std::get<TextRange>(value);
            if (range.start < 0 || range.length < 0 || range.end() > length)
                return false;
            target.selection = range;
            return true;
        }
        if (name == AXAttribute::focused && value == Value(true)) {
            state.focused = element.id.toInt();
            return true;
        }
        return false;
    });
}

std::optional<AccessibleElement> FakeAccessibility::parent(const AccessibleElement& element) {
    return desktop_.withState([&](State& state) -> std::optional<AccessibleElement> {
        const Node* node = deliver(state, element);
        if (!node || !node->parent)
            return std::nullopt;
        return handle(state, *node->parent);
    });
}

std::vector<AccessibleElement> FakeAccessibility::children(const AccessibleElement& element) {
    return desktop_.withState([&](State& state) {
        std::vector<AccessibleElement> handles;
        if (const Node* node = deliver(state, element))
            for (FakeDesktop::ElementId child : node->children)
                handles.push_back(handle(state, child));
        return handles;
    });
}

} // namespace lumeno
