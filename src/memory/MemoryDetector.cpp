#include "memory/MemoryDetector.h"

#include "support/Regex.h"
#include "support/Text.h"

#include <algorithm>

namespace lumeno {

namespace {

// Openings that are not promises ("I'll be there", "let me know"), as plain prefixes of the lower-cased
// action: "thinking" is rejected, "bet" is not.
bool opensWithNonPromise(const QString& action) {
    static const QStringList openings{
        QStringLiteral("be "),   QStringLiteral("think"),       QStringLiteral("see "),
        QStringLiteral("probably"), QStringLiteral("maybe"),    QStringLiteral("try "),
        QStringLiteral("talk to you"), QStringLiteral("have a "), QStringLiteral("know")};
    const QString lowered = Text::lowercased(action);
    return std::any_of(openings.begin(), openings.end(),
                       [&lowered](const QString& opening) { return lowered.startsWith(opening); });
}

// The action without its date, trailing filler words ("send it to you by" after "Friday" went), doubled
// spaces and surrounding punctuation.
QString cleanedAction(QString action) {
    static const Regex trailingFiller = Regex::fixed(QStringLiteral(R"re((?i)[\s,]+(?:by|on|before|until|till|this|next|at|for you|myself|then|too|as well|asap)?[\s,]*$)re"));
    for (int pass = 0; pass < 3; ++pass)
        action = trailingFiller.replaceAll(action, QString());
    action.replace(QStringLiteral("  "), QStringLiteral(" "));
    return Text::trimmedWithPunctuation(action);
}

} // namespace

std::optional<MemoryDetector::Detected> MemoryDetector::commitment(const QString& text, const QDateTime& now,
                                                                   const DateDetector& dates) {
    Q_UNUSED(now); // relative dates are resolved by the date detector's own clock
    static const Regex promise = Regex::fixed(QStringLiteral(R"re((?i)(?<![\p{L}])(?:i['’]ll|i will|i['’]m going to|i am going to|we['’]ll|we will|let me)\s+([^.!?\n;]{3,140}))re"));
    for (const RegexMatch& match : promise.allMatches(text)) {
        QString action = Text::trimmed(match.captured(text, 1));
        if (opensWithNonPromise(action))
            continue;
        std::optional<QDateTime> due;
        if (const std::optional<DateDetector::Found> found = dates.firstDate(action)) {
            due = found->date;
            action.remove(found->range.start, found->range.length);
        }
        const QString cleaned = cleanedAction(action);
        // A one-word promise ("I'll try") is only a task when it names a date.
        if (cleaned.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() < 2 && !due)
            continue;
        if (Text::graphemeCount(cleaned) < 3)
            continue;
        return Detected{Text::capitalizedFirst(cleaned), due};
    }
    return std::nullopt;
}

std::optional<QString> MemoryDetector::pin(const QString& text) {
    const std::optional<PinPhrase::Found> found = PinPhrase::find(text);
    return found ? pinText(text, *found) : std::nullopt;
}

QString MemoryDetector::withoutPin(const QString& text) {
    const std::optional<PinPhrase::Found> found = PinPhrase::find(text);
    if (!found || !pinText(text, *found))
        return text;
    // What led into the note goes with it: the blanks and the comma or colon before "note to self".
    static const Regex lead = Regex::fixed(QStringLiteral(R"re([\s,;:\-–—]+$)re"));
    const QString before = lead.replaceAll(text.left(found->phrase.start), QString());
    const QString after = Text::trimmed(text.mid(found->phrase.end()));
    if (before.isEmpty() || after.isEmpty())
        return before.isEmpty() ? after : before;
    // The note ended a sentence; what came after it starts another.
    const bool endsSentence = QStringLiteral(".!?…").contains(before.back());
    return before + (endsSentence ? QStringLiteral(" ") : QStringLiteral(". ")) + after;
}

std::optional<QString> MemoryDetector::pinText(const QString& text, const PinPhrase::Found& found) {
    const QString pinned = Text::trimmedWithPunctuation(text.mid(found.pin.start, found.pin.length));
    if (Text::graphemeCount(pinned) < 3)
        return std::nullopt;
    return Text::capitalizedFirst(pinned);
}

} // namespace lumeno
