#pragma once

#include <QDateTime>
#include <QString>

namespace lumeno {

// A due date in words for cards and chips: abbreviated weekday, day and abbreviated month in the order and
// punctuation of the current locale ("Sat, Mar 1" in en_US), on the local calendar day; no year, no time.
class DueDateFormat {
public:
    static QString format(const QDateTime& due);
};

} // namespace lumeno
