#include "platform/linux/AtspiAccessibility.h"

#include "platform/AXNames.h"
#include "platform/linux/AtspiDesktop.h"
#include "platform/linux/AtspiElementReader.h"
#include "platform/linux/AtspiFocusFinder.h"
#include "platform/linux/AtspiTextEditor.h"

#include <cmath>

namespace lumeno {

namespace {

// An operation is a handful of messages, a walk a few hundred: besides one timed-out message (a hung
// application is not asked again within the operation) it gets this long before its caller stops waiting.
constexpr std::chrono::milliseconds workAllowance{2000};

} // namespace

AtspiAccessibility::AtspiAccessibility(qint64 ownPid, QString busAddress)
    : ownPid_(ownPid), busAddress_(std::move(busAddress)), worker_(QStringLiteral("Accessibility")) {}

AtspiAccessibility::~AtspiAccessibility() {
    // The desktop's connection belongs to the worker thread: it is closed there.
    worker_.run(
        [this] {
            delete desktop_;
            desktop_ = nullptr;
            return true;
        },
        std::chrono::milliseconds(std::chrono::hours(1)));
}

void AtspiAccessibility::post(std::function<void()> job) {
    worker_.post(std::move(job));
}

void AtspiAccessibility::setMessagingTimeout(double seconds) {
    messagingTimeout_ = std::max(0.01, seconds);
}

double AtspiAccessibility::messagingTimeout() const {
    return messagingTimeout_;
}

std::chrono::milliseconds AtspiAccessibility::budget() const {
    return std::chrono::milliseconds(qRound64(messagingTimeout_ * 1000)) + workAllowance;
}

template <class Job>
auto AtspiAccessibility::onDesktop(Job job) -> std::invoke_result_t<Job, AtspiDesktop&> {
    using Result = std::invoke_result_t<Job, AtspiDesktop&>;
    return worker_.run(
        [this, job = std::move(job)]() -> Result {
            if (!desktop_)
                desktop_ = new AtspiDesktop(busAddress_);
            if (!desktop_->ensureConnected())
                return Result{};
            desktop_->client().setTimeout(int(std::ceil(messagingTimeout_ * 1000)));
            return job(*desktop_);
        },
        budget());
}

std::optional<AccessibleElement> AtspiAccessibility::focusedElement(qint64 pid) {
    if (pid == ownPid_)
        return std::nullopt;
    return onDesktop([pid](AtspiDesktop& desktop) -> std::optional<AccessibleElement> {
        desktop.forgetFacts();
        const std::optional<AtspiNode> node = AtspiFocusFinder(desktop).focused(pid);
        return node ? std::optional(node->element(pid)) : std::nullopt;
    });
}

std::optional<QString> AtspiAccessibility::toolkitName(qint64 pid) {
    if (pid == ownPid_)
        return std::nullopt;
    return onDesktop([pid](AtspiDesktop& desktop) -> std::optional<QString> {
        for (const QString& bus : desktop.applicationBuses(pid))
            if (const QString toolkit = desktop.toolkit(bus); !toolkit.isEmpty())
                return toolkit;
        return std::nullopt;
    });
}

std::optional<Accessibility::Value> AtspiAccessibility::attribute(const AccessibleElement& element,
                                                                  const QString& name) {
    const std::optional<AtspiNode> node = AtspiNode::fromElement(element);
    if (!node || element.pid == ownPid_)
        return std::nullopt;
    return onDesktop([node = *node, pid = element.pid, name](AtspiDesktop& desktop) {
        return AtspiElementReader(desktop).attribute(node, pid, name);
    });
}

std::optional<bool> AtspiAccessibility::isSettable(const AccessibleElement& element, const QString& name) {
    const std::optional<AtspiNode> node = AtspiNode::fromElement(element);
    if (!node || element.pid == ownPid_)
        return std::nullopt;
    return onDesktop([node = *node, name](AtspiDesktop& desktop) {
        return AtspiElementReader(desktop).isSettable(node, name);
    });
}

bool AtspiAccessibility::setAttribute(const AccessibleElement& element, const QString& name, const Value& value) {
    const std::optional<AtspiNode> node = AtspiNode::fromElement(element);
    if (!node || element.pid == ownPid_)
        return false;
    return onDesktop([node = *node, name, value](AtspiDesktop& desktop) {
        AtspiTextEditor editor(desktop);
        if (name == AXAttribute::value && std::holds_alternative<QString>(value))
            return editor.setText(node, std::get<QString>(value));
        if (name == AXAttribute::selectedText && std::holds_alternative<QString>(value))
            return editor.replaceSelection(node, std::get<QString>(value));
        if (name == AXAttribute::selectedTextRange && std::holds_alternative<TextRange>(value))
            return editor.select(node, std::get<TextRange>(value));
        if (name == AXAttribute::focused && value == Value(true))
            return editor.focus(node);
        return false;
    });
}

std::optional<AccessibleElement> AtspiAccessibility::parent(const AccessibleElement& element) {
    const std::optional<AtspiNode> node = AtspiNode::fromElement(element);
    if (!node || element.pid == ownPid_)
        return std::nullopt;
    return onDesktop([node = *node, pid = element.pid](AtspiDesktop& desktop) -> std::optional<AccessibleElement> {
        const std::optional<AtspiNode> parent = desktop.client().parent(node);
        // Above the application is the desktop, which belongs to no application.
        if (!parent || parent->bus != node.bus)
            return std::nullopt;
        return parent->element(pid);
    });
}

std::vector<AccessibleElement> AtspiAccessibility::children(const AccessibleElement& element) {
    const std::optional<AtspiNode> node = AtspiNode::fromElement(element);
    if (!node || element.pid == ownPid_)
        return {};
    return onDesktop([node = *node, pid = element.pid](AtspiDesktop& desktop) {
        std::vector<AccessibleElement> elements;
        for (const AtspiNode& child : desktop.client().children(node).value_or(std::vector<AtspiNode>()))
            elements.push_back(child.element(pid));
        return elements;
    });
}

} // namespace lumeno
