#pragma once

#include "support/Regex.h"

namespace lumeno {

// Facts about a conversation's text. Its time-stamp patterns are shared with whoever needs to pass over
// time-stamp lines.
class ConversationStats {
public:
    static const Regex& time();
    static const Regex& date();
    static const Regex& relative();
    // True when any of the three patterns, tried in the order time, date, relative, matches in `line`.
    static bool isTimestampLine(const QString& line);
};

} // namespace lumeno
