#pragma once

#include "platform/Accessibility.h"
#include "support/Clock.h"

#include <QCoroTask>
#include <QString>

#include <optional>

namespace lumeno {

// Reads the conversation around a field: climbs the accessibility tree from the field and collects the
// text of the elements nearest to it, in reading order. The field's own draft is never part of it; a
// quoted message inside the field (a mail reply's original) is.
class ScreenReader {
public:
    struct Conversation {
        QString text;
        bool truncated = false;      // a bound stopped the read while there was more to read
        int nodes = 0;               // elements read
        int levels = 0;              // levels climbed above the field
        qsizetype fieldOffset = 0;   // where the field sits in `text`: before it is what is above the field
        bool operator==(const Conversation&) const = default;
    };

    struct Limits {
        int levels = 12;
        int nodes = 1500;
        int characters = 12000;      // UTF-16 units in all
        int charactersBelow = 3000;  // of them, at most this many from below the field
        int enoughCharacters = 1500; // climbs no further once this much was found
        double seconds = 1.5;
    };

    ScreenReader(Accessibility& accessibility, const Clock& clock, Limits limits);
    ScreenReader(Accessibility& accessibility, const Clock& clock) : ScreenReader(accessibility, clock, Limits{}) {}

    // Blocking; none when nothing around the element could be read.
    std::optional<Conversation> conversation(const AccessibleElement& around) const;
    // The same, read on the accessibility port's thread.
    QCoro::Task<std::optional<Conversation>> read(AccessibleElement around) const;

    const Limits& limits() const { return limits_; }

private:
    Accessibility& accessibility_;
    const Clock& clock_;
    Limits limits_;
};

} // namespace lumeno
