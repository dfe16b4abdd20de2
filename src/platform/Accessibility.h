#pragma once

#include "platform/AccessibleElement.h"
#include "support/PostedJob.h"
#include "support/TextRange.h"

#include <QCoroFuture>
#include <QCoroTask>
#include <QFuture>
#include <QString>

#include <functional>
#include <memory>
#include <type_traits>

#include <optional>
#include <variant>
#include <vector>

namespace lumeno {

// Other applications' accessibility trees: the focused element, attribute reads and writes, and the walk
// between parents and children (attribute names in AXNames.h).
//
// Every call is a message to another process: it blocks until that process answers or the messaging
// timeout passes. A call that fails, times out or finds nothing answers "none" (or an empty list); callers
// treat all three alike. The main thread never calls them itself: it hands the calls it needs to run(),
// which makes them on the port's own thread and brings their result back.
class Accessibility {
public:
    using Value = std::variant<QString, bool, qint64, TextRange, AccessibleElement>;

    virtual ~Accessibility() = default;

    // Runs `calls` (given this port) on the port's own thread and resumes the caller, on its thread, with
    // their result: one hop however many messages they send. A result that never came (the port went away
    // first) is "none". `calls` must hold nothing that may go before the port.
    template <class Calls>
    QCoro::Task<std::invoke_result_t<Calls, Accessibility&>> run(Calls calls);

    // How long one message may wait for its answer.
    virtual void setMessagingTimeout(double seconds) = 0;
    virtual double messagingTimeout() const = 0;

    // The element with keyboard focus in the application with process id `pid`.
    virtual std::optional<AccessibleElement> focusedElement(qint64 pid) = 0;
    // The user-interface toolkit the application declares ("Chromium", "GTK", "Qt"...).
    virtual std::optional<QString> toolkitName(qint64 pid) = 0;

    virtual std::optional<Value> attribute(const AccessibleElement& element, const QString& name) = 0;
    virtual std::optional<bool> isSettable(const AccessibleElement& element, const QString& name) = 0;
    virtual bool setAttribute(const AccessibleElement& element, const QString& name, const Value& value) = 0;

    virtual std::optional<AccessibleElement> parent(const AccessibleElement& element) = 0;
    virtual std::vector<AccessibleElement> children(const AccessibleElement& element) = 0;

    // Typed reads: none when the attribute is missing or holds another type.
    std::optional<QString> string(const AccessibleElement& element, const QString& name) {
        return typed<QString>(element, name);
    }
    std::optional<bool> flag(const AccessibleElement& element, const QString& name) {
        return typed<bool>(element, name);
    }
    std::optional<TextRange> range(const AccessibleElement& element, const QString& name) {
        return typed<TextRange>(element, name);
    }
    std::optional<AccessibleElement> element(const AccessibleElement& element, const QString& name) {
        return typed<AccessibleElement>(element, name);
    }

protected:
    // Runs `job` on the thread the port speaks to other applications from; by default one of the global
    // thread pool's.
    virtual void post(std::function<void()> job);

private:
    template <class T>
    std::optional<T> typed(const AccessibleElement& element, const QString& name) {
        const std::optional<Value> value = attribute(element, name);
        if (!value || !std::holds_alternative<T>(*value))
            return std::nullopt;
        return std::get<T>(*value);
    }
};

template <class Calls>
QCoro::Task<std::invoke_result_t<Calls, Accessibility&>> Accessibility::run(Calls calls) {
    using Result = std::invoke_result_t<Calls, Accessibility&>;
    QFuture<Result> answer = postedJob([this](auto job) { post(std::move(job)); },
                                       [this, calls = std::move(calls)]() mutable { return calls(*this); });
    co_await qCoro(answer).waitForFinished();
    if (answer.resultCount() == 0)
        co_return Result{};
    co_return answer.result();
}

} // namespace lumeno
