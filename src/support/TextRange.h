#pragma once

#include <QtGlobal>

namespace lumeno {

// A span of a QString in UTF-16 code units.
struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype end() const { return start + length; }
    bool operator==(const TextRange&) const = default;
};

} // namespace lumeno
