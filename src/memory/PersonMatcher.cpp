#include "memory/PersonMatcher.h"

#include "support/Text.h"

#include <QHash>

#include <unicode/uchar.h>

namespace lumeno {

namespace {

constexpr int emailAliasScore = 100;
constexpr int fullNameScore = 80;
constexpr int aliasScore = 60;
constexpr int firstNameScore = 30;

bool isLetterOrDigit(char32_t codePoint) {
    return (U_GET_GC_MASK(codePoint) & (U_GC_L_MASK | U_GC_N_MASK)) != 0;
}

// The folded text searched for every term. A term is searched literally; a bounded term may not touch a
// letter or digit on either side (the same rule as the look-arounds (?<![\p{L}\p{N}]) and (?![\p{L}\p{N}])
// around an escaped needle). Every needle has at least two UTF-16 units, so the text is indexed once by the
// pairs of units that start at each position, and a needle is only compared where its first pair occurs.
class FoldedText {
public:
    explicit FoldedText(QString folded) : text_(std::move(folded)) {
        for (qsizetype at = 0; at + 1 < text_.size(); ++at)
            starts_[pairAt(text_, at)].append(at);
    }

    bool isEmpty() const { return text_.isEmpty(); }

    std::optional<qsizetype> firstHit(const QString& needle, bool bounded) const {
        const auto found = starts_.constFind(pairAt(needle, 0));
        if (found == starts_.cend())
            return std::nullopt;
        for (const qsizetype at : *found) {
            if (!QStringView(text_).sliced(at).startsWith(needle))
                continue;
            if (!bounded || (!letterOrDigitBefore(at) && !letterOrDigitAt(at + needle.size())))
                return at;
        }
        return std::nullopt;
    }

private:
    static quint32 pairAt(const QString& text, qsizetype at) {
        return quint32(text[at].unicode()) << 16 | text[at + 1].unicode();
    }

    bool letterOrDigitBefore(qsizetype index) const {
        if (index == 0)
            return false;
        char32_t codePoint = text_[index - 1].unicode();
        if (QChar::isLowSurrogate(codePoint) && index >= 2 && text_[index - 2].isHighSurrogate())
            codePoint = QChar::surrogateToUcs4(text_[index - 2], text_[index - 1]);
        return isLetterOrDigit(codePoint);
    }

    bool letterOrDigitAt(qsizetype index) const {
        if (index >= text_.size())
            return false;
        char32_t codePoint = text_[index].unicode();
        if (QChar::isHighSurrogate(codePoint) && index + 1 < text_.size() && text_[index + 1].isLowSurrogate())
            codePoint = QChar::surrogateToUcs4(text_[index], text_[index + 1]);
        return isLetterOrDigit(codePoint);
    }

    QString text_;
    QHash<quint32, QList<qsizetype>> starts_;
};

// A needle as the terms use it: trimmed of horizontal white space, folded, at least two characters.
std::optional<QString> needleFrom(const QString& term) {
    QString needle = Text::folded(Text::trimmedHorizontal(term));
    if (Text::graphemeCount(needle) < 2)
        return std::nullopt;
    return needle;
}

struct Score {
    int value = 0;
    qsizetype position = 0;

    // Takes a hit of a term with `termScore` at `at` when the term outranks the best so far, or ties it
    // earlier in the text.
    void offer(int termScore, qsizetype at) {
        if (termScore > value || (termScore == value && at < position)) {
            value = termScore;
            position = at;
        }
    }
};

Score scoreOf(const Person& person, const FoldedText& text, const QHash<QString, int>& firstNameCounts) {
    Score score;
    for (const QString& alias : person.aliases) {
        const bool email = alias.contains(QLatin1Char('@'));
        const std::optional<QString> needle = needleFrom(alias);
        if (!needle)
            continue;
        if (const auto at = text.firstHit(*needle, !email))
            score.offer(email ? emailAliasScore : aliasScore, *at);
    }
    if (person.name.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() >= 2) {
        if (const std::optional<QString> needle = needleFrom(person.name))
            if (const auto at = text.firstHit(*needle, true))
                score.offer(fullNameScore, *at);
    }
    const QString firstName = person.firstName();
    const QString foldedFirstName = Text::folded(firstName);
    if (score.value < firstNameScore && Text::graphemeCount(foldedFirstName) >= 3
        && firstNameCounts.value(foldedFirstName) == 1) {
        if (const std::optional<QString> needle = needleFrom(firstName))
            if (const auto at = text.firstHit(*needle, true))
                score.offer(firstNameScore, *at);
    }
    return score;
}

} // namespace

std::optional<Person> PersonMatcher::match(const QString& text, const QList<Person>& people) {
    const FoldedText folded(Text::folded(text));
    if (folded.isEmpty() || people.isEmpty())
        return std::nullopt;

    QHash<QString, int> firstNameCounts;
    for (const Person& person : people)
        ++firstNameCounts[Text::folded(person.firstName())];

    const Person* winner = nullptr;
    Score best;
    for (const Person& person : people) {
        const Score score = scoreOf(person, folded, firstNameCounts);
        if (score.value == 0)
            continue;
        if (!winner || score.value > best.value || (score.value == best.value && score.position < best.position)) {
            winner = &person;
            best = score;
        }
    }
    return winner ? std::optional<Person>(*winner) : std::nullopt;
}

} // namespace lumeno
