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

    bool operator==(const AtspiStateSet&) const = default;
};

} // namespace lumeno
