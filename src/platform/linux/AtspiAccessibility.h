#pragma once

#include "platform/Accessibility.h"
#include "platform/linux/WorkerThread.h"

#include <QCoreApplication>

#include <atomic>

namespace lumeno {

class AtspiDesktop;

// Other applications' accessibility trees over AT-SPI, spoken to with QtDBus straight on the
// accessibility bus (no libatspi, no GLib: their calls are not thread-safe and wait long on an
// application they have just met).
//
// Every call runs on one worker thread of its own, each message bounded by the messaging timeout and each
// operation by a budget, so a hung application costs its caller a bounded wait and never the main thread.
// The program's own process is never asked: a call into ourselves could wait on our own busy thread.
class AtspiAccessibility final : public Accessibility {
public:
    // `busAddress`: the accessibility bus; empty asks the session bus where it is.
    explicit AtspiAccessibility(qint64 ownPid = QCoreApplication::applicationPid(), QString busAddress = {});
    ~AtspiAccessibility() override;

    void setMessagingTimeout(double seconds) override;
    double messagingTimeout() const override;

    std::optional<AccessibleElement> focusedElement(qint64 pid) override;
    std::optional<QString> toolkitName(qint64 pid) override;

    std::optional<Value> attribute(const AccessibleElement& element, const QString& name) override;
    std::optional<bool> isSettable(const AccessibleElement& element, const QString& name) override;
    bool setAttribute(const AccessibleElement& element, const QString& name, const Value& value) override;

    std::optional<AccessibleElement> parent(const AccessibleElement& element) override;
    std::vector<AccessibleElement> children(const AccessibleElement& element) override;

protected:
    // Straight onto the worker: the calls a job makes there run at once, without another hop.
    void post(std::function<void()> job) override;

private:
    // Runs `job` with the connected desktop on the worker, within the operation budget; the job's "none"
    // when the bus cannot be reached or the budget runs out.
    template <class Job>
    auto onDesktop(Job job) -> std::invoke_result_t<Job, AtspiDesktop&>;
    std::chrono::milliseconds budget() const;

    const qint64 ownPid_;
    const QString busAddress_;
    std::atomic<double> messagingTimeout_{0.4};
    WorkerThread worker_;
    AtspiDesktop* desktop_ = nullptr; // lives on the worker thread, made on first use
};

} // namespace lumeno
