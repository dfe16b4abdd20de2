#pragma once

#include "support/TextRange.h"

#include <QDateTime>

#include <optional>

namespace lumeno {

class Clock;

// Finds the first English date or time expression in a short text ("by Friday", "tomorrow at 3pm",
// "March 3rd", "in two hours") and resolves it against its clock in local time. A weekday is its next
// occurrence after today; a date without a time of day is noon.
class DateDetector {
public:
    struct Found {
        TextRange range; // UTF-16 units of the searched text
        QDateTime date;  // UTC
        bool operator==(const Found&) const = default;
    };

    // `clock` must outlive the detector.
    explicit DateDetector(const Clock& clock);
    // A detector on the system clock.
    static const DateDetector& system();

    std::optional<Found> firstDate(const QString& text) const;

private:
    const Clock& clock_;
};

} // namespace lumeno
