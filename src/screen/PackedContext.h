#pragma once

#include <QString>

namespace lumeno {

// The conversation context of one reply, already redacted.
struct PackedContext {
    enum class Source { selection, screen, clipboard };

    Source source = Source::screen;
    QString text;
    int redactions = 0;
    bool truncated = false;

    bool operator==(const PackedContext&) const = default;
};

} // namespace lumeno
