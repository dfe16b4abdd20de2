#pragma once

#include "details/DraftDetails.h"

#include <QByteArray>

#include <optional>

namespace lumeno {

// The one-line JSON form of a draft record in draft-details.jsonl: compact, keys sorted, slashes escaped,
// absent parts left out, the date in whole seconds. Reading is strict: a missing required key, a wrong
// type, an unknown raw value or a malformed date or id rejects the whole line.
class DraftDetailsLine {
public:
    // None when the record cannot be written faithfully (a drafting time that is not a finite number).
    static std::optional<QByteArray> encode(const DraftDetails& details);
    // None when the line does not hold a readable record.
    static std::optional<DraftDetails> decode(const QByteArray& line);
};

} // namespace lumeno
