#pragma once

#include "platform/Accessibility.h"
#include "platform/fake/FakeDesktop.h"

namespace lumeno {

// The accessibility tree of the fake desktop. A message to a slow element lets its delay pass on the clock
// (up to the messaging timeout, after which the message fails); a failing element answers nothing.
class FakeAccessibility final : public Accessibility {
public:
    FakeAccessibility(FakeDesktop& desktop, ManualClock* clock);

    void setMessagingTimeout(double seconds) override;
    double messagingTimeout() const override;

    std::optional<AccessibleElement> focusedElement(qint64 pid) override;
    std::optional<QString> toolkitName(qint64 pid) override;

    std::optional<Value> attribute(const AccessibleElement& element, const QString& name) override;
    std::optional<bool> isSettable(const AccessibleElement& element, const QString& name) override;
    bool setAttribute(const AccessibleElement& element, const QString& name, const Value& value) override;

    std::optional<AccessibleElement> parent(const AccessibleElement& element) override;
    std::vector<AccessibleElement> children(const AccessibleElement& element) override;

private:
    using State = FakeDesktop::State;
    using Node = FakeDesktop::Node;

    // The node a message reaches, after its delay; none when it fails or times out. Call with the lock held.
    Node* deliver(State& state, const AccessibleElement& element);
    AccessibleElement handle(const State& state, FakeDesktop::ElementId id) const;
    std::optional<Value> read(const State& state, FakeDesktop::ElementId id, const QString& name) const;

    FakeDesktop& desktop_;
    ManualClock* clock_;
};

} // namespace lumeno
