#pragma once

#include <QDateTime>
#include <QString>

namespace lumeno {

// How draft records show their date, in the user's locale and local time.
class RecordDateFormat {
public:
    // Abbreviated date and time with seconds: "Mar 2, 2026, 9:00:05 AM" in en_US.
    static QString dateAndTime(const QDateTime& date);
    // The time alone, without seconds: "9:00 AM" in en_US.
    static QString shortTime(const QDateTime& date);
};

} // namespace lumeno
