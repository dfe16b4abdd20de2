#pragma once

#include "platform/Accessibility.h"

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>

namespace lumeno::testing {

// Another port's answers, except that once armed, the next call waits on the thread that made it until the
// test lets it go, as an application that has stopped answering would keep it waiting.
class GatedAccessibility final : public Accessibility {
public:
    explicit GatedAccessibility(Accessibility& answers) : answers_(answers) {}

    void holdNextCall() {
        std::lock_guard lock(mutex_);
        armed_ = true;
        held_ = {};
        release_ = {};
        released_ = release_.get_future().share();
    }
    // True once the held call has arrived (bounded, so a call that never comes fails the test).
    bool waitUntilHeld() { return heldFuture().wait_for(std::chrono::seconds(5)) == std::future_status::ready; }
    void letGo() { release_.set_value(); }
    int answers() const { return answers_given_; }

    void setMessagingTimeout(double seconds) override { answers_.setMessagingTimeout(seconds); }
    double messagingTimeout() const override { return answers_.messagingTimeout(); }
    std::optional<AccessibleElement> focusedElement(qint64 pid) override {
        gate();
        return counted(answers_.focusedElement(pid));
    }
    std::optional<QString> toolkitName(qint64 pid) override {
        gate();
        return counted(answers_.toolkitName(pid));
    }
    std::optional<Value> attribute(const AccessibleElement& element, const QString& name) override {
        gate();
        return counted(answers_.attribute(element, name));
    }
    std::optional<bool> isSettable(const AccessibleElement& element, const QString& name) override {
        gate();
        return counted(answers_.isSettable(element, name));
    }
    bool setAttribute(const AccessibleElement& element, const QString& name, const Value& value) override {
        gate();
        return counted(answers_.setAttribute(element, name, value));
    }
    std::optional<AccessibleElement> parent(const AccessibleElement& element) override {
        gate();
        return counted(answers_.parent(element));
    }
    std::vector<AccessibleElement> children(const AccessibleElement& element) override {
        gate();
        return counted(answers_.children(element));
    }

private:
    std::future<void> heldFuture() {
        std::lock_guard lock(mutex_);
        return held_.get_future();
    }
    void gate() {
        std::shared_future<void> released;
        {
            std::lock_guard lock(mutex_);
            if (!armed_)
                return;
            armed_ = false;
            held_.set_value();
            released = released_;
        }
        released.wait_for(std::chrono::seconds(10)); // bounded: a test that never lets go fails, not hangs
    }
    template <typename T> T counted(T answer) {
        ++answers_given_;
        return answer;
    }

    Accessibility& answers_;
    std::mutex mutex_;
    bool armed_ = false;
    std::promise<void> held_;
    std::promise<void> release_;
    std::shared_future<void> released_;
    std::atomic<int> answers_given_ = 0;
};

} // namespace lumeno::testing
