#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// The conversation context of one reply, already redacted.
struct PackedContext {
    enum class Source { selection, screen, clipboard };

    Source source = Source::screen;
    QString text;
    int redactions = 0;
    bool truncated = false;
    std::optional<qsizetype> fieldOffset; // read from the screen: where the field sits in `text`

    bool operator==(const PackedContext&) const = default;
};

} // namespace lumeno
