#include "screen/PasteCheck.h"

#include <QChar>

#include <algorithm>

namespace lumeno {

namespace {

// Every run of white space (line breaks included) as one space, none at the ends.
QString spacingFolded(const QString& text) {
    QString folded;
    folded.reserve(text.size());
    bool pendingSpace = false;
    for (const QChar c : text) {
        if (c.isSpace() || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            pendingSpace = !folded.isEmpty();
            continue;
        }
        if (pendingSpace)
            folded.append(QLatin1Char(' '));
        pendingSpace = false;
        folded.append(c);
    }
    return folded;
}

// The part of `after` that differs from `before` once their common beginning and end are set aside.
QString changedPart(const QString& before, const QString& after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    return after.mid(prefix, after.size() - prefix - suffix);
}

// How many times `part` starts in `text`, overlaps included.
qsizetype occurrences(const QString& text, const QString& part) {
    qsizetype count = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + 1))
        ++count;
    return count;
}

} // namespace

PasteCheck PasteCheck::evaluate(const std::optional<QString>& before, const std::optional<QString>& after,
                                const QString& pasted, const std::optional<QString>& kept) {
    if (!after)
        return {};
    const std::optional<int> breaks =
        before ? std::optional<int>(lineBreaks(changedPart(*before, *after))) : std::nullopt;
    const QString wanted = spacingFolded(pasted);
    if (wanted.isEmpty() || before == after)
        return {false, breaks};
    // Text that was there already (an earlier paste of the same reply) proves nothing: it must be there
    // once more than before. What the paste replaced is not there any more, whatever it held.
    const std::optional<QString>& untouched = kept ? kept : before;
    const qsizetype already = untouched ? occurrences(spacingFolded(*untouched), wanted) : 0;
    return {occurrences(spacingFolded(*after), wanted) > already, breaks};
}

int PasteCheck::lineBreaks(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // counted with its '\n'
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
            ++count;
    }
    return count;
}

} // namespace lumeno
