#pragma once

#include <QString>

namespace lumeno {

// Chat-like prose with accents, emoji and a few addresses, repeated to at least `units` UTF-16 units.
inline QString sampleProse(int units = 100 * 1024) {
    const QString paragraph = QString::fromUtf8(
        "Hi Zo\u00EB, thanks for the notes \U0001F44D\U0001F3FD. Could you send the caf\u00E9 invoice to "
        "billing@example.org before Friday? Je peux r\u00E9pondre demain\u00A0matin. Order #4411-B shipped; "
        "tracking is 1Z999AA10123456784. \U0001F468\u200D\U0001F469\u200D\U0001F467 says hello! "
        "Stra\u00DFe 12, 10115 Berlin \U0001F1E9\U0001F1EA\n");
    QString text;
    text.reserve(units + paragraph.size());
    while (text.size() < units)
        text += paragraph;
    return text;
}

} // namespace lumeno
