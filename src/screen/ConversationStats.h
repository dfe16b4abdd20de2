#pragma once

#include "support/Regex.h"

namespace lumeno {

// Facts about a conversation's text: the patterns of message header lines, and how many messages a text
// seems to hold. The time-stamp patterns are shared with whoever needs to pass over time-stamp lines.
class ConversationStats {
public:
    static const Regex& time();
    static const Regex& date();
    static const Regex& relative();
    // The line that opens a quoted or forwarded message: "On … wrote:", "-----Original Message-----",
    // "Begin forwarded message:", Outlook's underscore rule and its "From: … <address>" line, in the
    // languages people around us write. Multi-line: `^` and `$` are line bounds, so it finds such a line
    // inside a whole text as well as matching a single line.
    static const Regex& quotedReply();

    // True when any of the three time-stamp patterns, tried in the order time, date, relative, matches.
    static bool isTimestampLine(const QString& line);
    // How many messages the text seems to hold: one per quoted-reply header line and one per short
    // time-stamp line, where a header directly under another header belongs to the same message.
    static int estimatedMessages(const QString& text);
};

} // namespace lumeno
