#include "platform/fake/FakeDesktop.h"

#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeKeySynth.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakeWorkspace.h"

#include <QStringList>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace lumeno {

namespace {

TextRange clamped(TextRange range, qsizetype length) {
    const qsizetype start = std::clamp<qsizetype>(range.start, 0, length);
    return {start, std::clamp<qsizetype>(range.length, 0, length - start)};
}

} // namespace

FakeDesktop::Element FakeDesktop::Element::text(const QString& text) {
    Element element;
    element.role = AXRole::staticText;
    element.value = text;
    return element;
}

FakeDesktop::Element FakeDesktop::Element::field(const QString& role, const QString& value,
                                                 const QString& description) {
    Element element;
    element.role = role;
    element.value = value;
    element.description = description;
    element.editable = true;
    element.selection = {value.size(), 0};
    return element;
}

FakeDesktop::Node* FakeDesktop::State::node(ElementId id) {
    const auto found = nodes.find(id);
    return found == nodes.end() ? nullptr : &found->second;
}

FakeDesktop::Node& FakeDesktop::State::existing(ElementId id) {
    return const_cast<Node&>(std::as_const(*this).existing(id));
}

const FakeDesktop::Node& FakeDesktop::State::existing(ElementId id) const {
    const auto found = nodes.find(id);
    if (found == nodes.end())
        throw std::out_of_range("FakeDesktop: no element " + std::to_string(id));
    return found->second;
}

QString FakeDesktop::State::windowTitle(ElementId id) const {
    for (std::optional<ElementId> current = id; current; current = existing(*current).parent)
        if (existing(*current).element.role == AXRole::window)
            return existing(*current).element.title;
    for (ElementId child : existing(id).children) // an application: its first window
        if (existing(child).element.role == AXRole::window)
            return existing(child).element.title;
    return {};
}

void FakeDesktop::State::writeClipboard(const PasteboardContents& contents) {
    if (contents.isEmpty())
        clipboard.reset();
    else
        clipboard = contents;
    ++changeCount;
}

void FakeDesktop::State::erase(ElementId id) {
    const Node* found = node(id);
    if (!found)
        return;
    const std::vector<ElementId> children = found->children;
    nodes.erase(id);
    if (focused == id)
        focused.reset();
    for (ElementId child : children)
        erase(child);
}

void FakeDesktop::State::replaceSelection(Node& node, const QString& text) {
    Element& element = node.element;
    const QString value = element.value.value_or(QString());
    const TextRange selection = clamped(element.selection, value.size());
    node.undo.emplace_back(value, selection);
    element.value = QString(value).replace(selection.start, selection.length, text);
    element.selection = {selection.start + text.size(), 0};
}

void FakeDesktop::State::pasteParagraphs(ElementId id, const QString& text) {
    const QStringList lines =
        QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    Node& first = existing(id);
    if (lines.size() == 1 || !first.parent) {
        replaceSelection(first, text);
        return;
    }
    const QString value = first.element.value.value_or(QString());
    const TextRange selection = clamped(first.element.selection, value.size());
    const QString rest = value.mid(selection.start + selection.length);
    first.undo.emplace_back(value, selection);
    Node paragraph = first;
    paragraph.undo.clear();
    first.element.value = value.left(selection.start) + lines.front();
    first.element.selection = {};
    std::vector<ElementId>& siblings = existing(*first.parent).children;
    auto at = std::find(siblings.begin(), siblings.end(), id);
    for (qsizetype line = 1; line < lines.size(); ++line) {
        const ElementId added = nextId++;
        paragraph.element.value = lines.at(line);
        paragraph.element.selection = {lines.at(line).size(), 0};
        if (line == lines.size() - 1)
            paragraph.element.value->append(rest);
        nodes[added] = paragraph;
        at = siblings.insert(at + 1, added);
        focused = added;
    }
}

FakeDesktop::FakeDesktop(FakeWorkspace& workspace, ManualClock* clock)
    : workspace_(workspace),
      accessibility_(std::make_unique<FakeAccessibility>(*this, clock)),
      pasteboard_(std::make_unique<FakePasteboard>(*this)),
      keys_(std::make_unique<FakeKeySynth>(*this)) {}

FakeDesktop::~FakeDesktop() = default;

void FakeDesktop::addApplication(const Application& application) {
    withState([&](State& state) {
        state.applications[application.pid] = application;
        const ElementId root = state.nextId++;
        Node node;
        node.element.role = AXRole::application;
        node.element.title = application.name;
        node.pid = application.pid;
        state.nodes[root] = node;
        state.applicationRoots[application.pid] = root;
    });
}

FakeDesktop::Window FakeDesktop::addWindow(qint64 pid, const QString& title,
                                           const std::optional<QString>& webAddress) {
    const ElementId root = withState([&](const State& state) { return state.applicationRoots.at(pid); });
    Element window;
    window.role = AXRole::window;
    window.title = title;
    const ElementId windowId = add(root, window);
    if (!webAddress)
        return {windowId, windowId};
    Element page;
    page.role = AXRole::webArea;
    page.url = webAddress;
    return {windowId, add(windowId, page)};
}

FakeDesktop::ElementId FakeDesktop::add(ElementId parent, const Element& element) {
    return withState([&](State& state) {
        Node& parentNode = state.existing(parent);
        const ElementId id = state.nextId++;
        Node node;
        node.element = element;
        node.element.selection = clamped(element.selection, element.value.value_or(QString()).size());
        node.pid = parentNode.pid;
        node.parent = parent;
        parentNode.children.push_back(id);
        state.nodes[id] = std::move(node);
        return id;
    });
}

void FakeDesktop::change(ElementId id, const std::function<void(Element&)>& edit) {
    withState([&](State& state) {
        Element& element = state.existing(id).element;
        edit(element);
        element.selection = clamped(element.selection, element.value.value_or(QString()).size());
    });
}

void FakeDesktop::remove(ElementId id) {
    withState([&](State& state) {
        if (Node* node = state.node(id); node && node->parent) {
            auto& siblings = state.existing(*node->parent).children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
        }
        state.erase(id);
    });
}

void FakeDesktop::focus(ElementId id) {
    withState([&](State& state) { state.focused = id; });
    showInFront(id);
}

void FakeDesktop::bringToFront(qint64 pid) {
    const ElementId root = withState([&](State& state) {
        state.focused.reset();
        return state.applicationRoots.at(pid);
    });
    showInFront(root);
}

void FakeDesktop::showInFront(ElementId id) {
    workspace_.frontmost = withState([&](const State& state) {
        const Application& application = state.applications.at(state.existing(id).pid);
        return RunningApplication{application.pid, application.applicationId, application.name,
                                  state.windowTitle(id)};
    });
}

void FakeDesktop::clearFront() {
    withState([&](State& state) { state.focused.reset(); });
    workspace_.frontmost.reset();
}

void FakeDesktop::select(ElementId id, TextRange range) {
    change(id, [&](Element& element) { element.selection = range; });
}

void FakeDesktop::userCopies(const PasteboardContents& contents) {
    withState([&](State& state) { state.writeClipboard(contents); });
}

void FakeDesktop::setKeysFail(bool fail) {
    withState([&](State& state) { state.keysFail = fail; });
}

void FakeDesktop::setPasteboardWritesFail(bool fail) {
    withState([&](State& state) { state.pasteboardWritesFail = fail; });
}

void FakeDesktop::setClipboardOwnerFrozen(bool frozen) {
    withState([&](State& state) { state.clipboardOwnerFrozen = frozen; });
}

FakeDesktop::Element FakeDesktop::element(ElementId id) const {
    return withState([&](const State& state) { return state.existing(id).element; });
}

QString FakeDesktop::valueOf(ElementId id) const { return element(id).value.value_or(QString()); }

std::optional<FakeDesktop::ElementId> FakeDesktop::focusedElement() const {
    return withState([](const State& state) { return state.focused; });
}

std::optional<PasteboardContents> FakeDesktop::clipboard() const {
    return withState([](const State& state) { return state.clipboard; });
}

qint64 FakeDesktop::changeCount() const {
    return withState([](const State& state) { return state.changeCount; });
}

std::vector<KeySynth::Key> FakeDesktop::postedKeys() const {
    return withState([](const State& state) { return state.posted; });
}

std::vector<FakeDesktop::SentMessage> FakeDesktop::sentMessages() const {
    return withState([](const State& state) { return state.sent; });
}

AccessibleElement FakeDesktop::handle(ElementId id) const {
    return {withState([&](const State& state) { return state.existing(id).pid; }), QString::number(id)};
}

std::optional<FakeDesktop::ElementId> FakeDesktop::idOf(const AccessibleElement& handle) const {
    bool ok = false;
    const ElementId id = handle.id.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return withState([&](const State& state) -> std::optional<ElementId> {
        const auto found = state.nodes.find(id);
        if (found == state.nodes.end() || found->second.pid != handle.pid)
            return std::nullopt;
        return id;
    });
}

Accessibility& FakeDesktop::accessibility() { return *accessibility_; }
Pasteboard& FakeDesktop::pasteboard() { return *pasteboard_; }
KeySynth& FakeDesktop::keys() { return *keys_; }

} // namespace lumeno
