#pragma once

#include "support/TextRange.h"

#include <QString>

namespace lumeno {

// Shortens long text to a bound, cutting at line breaks where one is near so that no message is cut in
// the middle of a line, and never inside a surrogate pair. Lengths are UTF-16 units.
class TextCut {
public:
    // What stands where the middle was taken out.
    static QString gapMarker() { return QStringLiteral("\n[…]\n"); }

    // The beginning and the end of `text`, the middle replaced by the gap marker.
    static QString withoutMiddle(const QString& text, qsizetype limit);
    // The part of `text` around `anchor`, four fifths of the room before it, the rest after (more on one
    // side when the other runs out).
    static QString around(const QString& text, qsizetype anchor, qsizetype limit);
    // Where the part `around` keeps lies in `text`.
    static TextRange keptAround(const QString& text, qsizetype anchor, qsizetype limit);
};

} // namespace lumeno
