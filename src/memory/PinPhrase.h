#pragma once

#include "support/TextRange.h"

#include <QString>

#include <optional>

namespace lumeno {

// Finds "note to self …" and "pin that/this …" in a dictation: the text to pin, as the pattern
//     (?i)(?:note to self|pin (?:that|this))[:,]?\s+(.{3,200}?)\s*(?:[.!?](?:\s|$)|$)
// would match it (first match, whole and group 1), in time linear in the text. A backtracking search of that pattern
// walks a run of white space again for every length of the pin it tries, and again for every space it gives
// back after the opening: minutes on a text of blanks a model or a stuck key can produce.
class PinPhrase {
public:
    struct Found {
        TextRange phrase; // the whole match: the opening, the pin and the stop after it
        TextRange pin;    // group 1
        bool operator==(const Found&) const = default;
    };
    // None when the pattern finds nothing. Positions are UTF-16 units of `text`.
    static std::optional<Found> find(const QString& text);
};

} // namespace lumeno
