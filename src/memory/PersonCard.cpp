#include "memory/PersonCard.h"

namespace lumeno {

QString PersonCard::rendered() const {
    QStringList lines{QStringLiteral("Name: ") + name};
    if (!notes.isEmpty())
        lines << QStringLiteral("Notes: ") + notes;
    auto appendList = [&lines](const QString& heading, const QStringList& items) {
        if (items.isEmpty())
            return;
        lines << heading;
        for (const QString& item : items)
            lines << QStringLiteral("- ") + item;
    };
    appendList(QStringLiteral("Open commitments:"), commitments);
    appendList(QStringLiteral("Pinned:"), pins);
    return lines.join(QLatin1Char('\n'));
}

} // namespace lumeno
