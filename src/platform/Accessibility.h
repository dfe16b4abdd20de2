#pragma once

#include "platform/AccessibleElement.h"
#include "support/Regex.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace lumeno {

// Other applications' accessibility trees: the focused element, attribute reads and writes, and the walk
// between parents and children (attribute names in AXNames.h).
//
// Every call is a message to another process: it blocks until that process answers or the messaging
// timeout passes, and may be made from any thread. A call that fails, times out or finds nothing answers
// "none" (or an empty list); callers treat all three alike.
class Accessibility {
public:
    using Value = std::variant<QString, bool, qint64, TextRange, AccessibleElement>;

    virtual ~Accessibility() = default;

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

private:
    template <class T>
    std::optional<T> typed(const AccessibleElement& element, const QString& name) {
        const std::optional<Value> value = attribute(element, name);
        if (!value || !std::holds_alternative<T>(*value))
            return std::nullopt;
        return std::get<T>(*value);
    }
};

} // namespace lumeno
