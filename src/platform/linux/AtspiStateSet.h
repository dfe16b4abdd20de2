#pragma once

#include <QList>
#include <QtGlobal>

namespace lumeno {

// The AT-SPI states the program looks at, numbered as on the bus.
enum class AtspiState : int {
    active = 1,
    defunct = 6,
    editable = 7,
    focusable = 11,
    focused = 12,
    multiLine = 17,
    showing = 25,
    visible = 30,
    readOnly = 43,
};

// An object's states as GetState answers them: two 32-bit words, state n being bit n.
struct AtspiStateSet {
    quint64 bits = 0;

    static AtspiStateSet fromWords(const QList<uint>& words) {
        AtspiStateSet set;
        for (qsizetype i = 0; i < std::min<qsizetype>(words.size(), 2); ++i)
            set.bits |= quint64(words[i]) << (32 * i);
        return set;
    }

    bool has(AtspiState state) const { return bits & (quint64(1) << int(state)); }
    // Takes text from the user: Qt marks its read-only fields editable as well.
    bool isEditable() const { return has(AtspiState::editable) && !has(AtspiState::readOnly); }

    // Out of the user's sight. GTK clears showing only for what is not on screen at all (a closed popover, a
    // panel switched away); other toolkits, the web engines among them, clear it for content merely
    // scrolled out of view as well, which is still there to be read: for them only visibility counts.
    bool isOutOfSight(bool showingMeansOnScreen) const {
        return !has(AtspiState::visible) || (showingMeansOnScreen && !has(AtspiState::showing));
    }

    bool operator==(const AtspiStateSet&) const = default;
};

} // namespace lumeno
