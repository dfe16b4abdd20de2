#pragma once

#include "support/TextRange.h"

#include <QString>

#include <optional>

namespace lumeno {

// The part of a field's text that the user wrote: everything before a quoted reply or a signature.
struct EditTarget {
    QString text;     // trimmed
    TextRange range;  // where `text` sits in the field's text, in UTF-16 units

    // The user's own part of a field's whole text; none when it is empty.
    static std::optional<EditTarget> whole(const QString& fieldText);
    // Where the quoted conversation in a field begins: the first quoted-reply header line or quoted
    // ("> ") line; none without one.
    static std::optional<qsizetype> quoteStart(const QString& fieldText);

    bool operator==(const EditTarget&) const = default;
};

} // namespace lumeno
