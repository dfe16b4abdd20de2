#include "drafting/StyleEngine.h"

#include "support/Text.h"

#include <algorithm>

namespace lumeno {

QStringList StyleEngine::chosenSamples(const StyleProfile& profile) {
    QStringList candidates;
    for (auto it = profile.learnedExamples.crbegin(); it != profile.learnedExamples.crend(); ++it)
        candidates.append(Text::trimmed(*it));
    candidates.append(profile.pastedSamples());

    QStringList chosen;
    int total = 0;
    for (const QString& candidate : std::as_const(candidates)) {
        if (candidate.isEmpty())
            continue;
        const int room = std::min(maxSampleCharacters, maxTotalCharacters - total);
        if (chosen.size() == maxSamples || room < 40)
            break;
        const QString sample = shortened(candidate, room);
        chosen.append(sample);
        total += Text::graphemeCount(sample);
    }
    return chosen;
}

QString StyleEngine::shortened(const QString& text, int limit) {
    if (Text::graphemeCount(text) <= limit)
        return text;
    const QString cut = Text::graphemePrefix(text, limit - 1);
    // Prefer ending on a whole word, unless that would throw away more than a fifth of the room.
    qsizetype end = cut.size();
    while (end > 0 && !cut.at(end - 1).isSpace())
        --end;
    if (end < cut.size() * 4 / 5)
        end = cut.size();
    return Text::trimmed(cut.left(end)) + QStringLiteral("…");
}

} // namespace lumeno
