#include "screen/EditTarget.h"

#include "screen/ConversationStats.h"

#include <QChar>

#include <algorithm>

namespace lumeno {

namespace {

// "-- " (and its trimmed form, which many editors leave), and the lines phones add under a message.
const Regex& signatureDelimiter() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"((?im)^(?:--[ \t]*|sent from my [^\n]+|get outlook for [^\n]+|sent from (?:mail|outlook) for [^\n]+)$)"));
    return pattern;
}

// A line of quoted text as mail clients prefix it.
const Regex& quotedLine() {
    static const Regex pattern = Regex::fixed(QStringLiteral(R"((?m)^[ \t]*>)"));
    return pattern;
}

std::optional<qsizetype> startOf(const Regex& pattern, const QString& text) {
    if (const std::optional<RegexMatch> match = pattern.firstMatch(text))
        return match->range().start;
    return std::nullopt;
}

std::optional<qsizetype> earliest(std::optional<qsizetype> a, std::optional<qsizetype> b) {
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

} // namespace

std::optional<qsizetype> EditTarget::quoteStart(const QString& fieldText) {
    return earliest(startOf(ConversationStats::quotedReply(), fieldText), startOf(quotedLine(), fieldText));
}

std::optional<EditTarget> EditTarget::whole(const QString& fieldText) {
    const qsizetype ownEnd =
        earliest(quoteStart(fieldText), startOf(signatureDelimiter(), fieldText)).value_or(fieldText.size());
    qsizetype start = 0;
    qsizetype end = ownEnd;
    while (start < end && fieldText.at(start).isSpace())
        ++start;
    while (end > start && fieldText.at(end - 1).isSpace())
        --end;
    if (start == end)
        return std::nullopt;
    return EditTarget{fieldText.mid(start, end - start), {start, end - start}};
}

} // namespace lumeno
