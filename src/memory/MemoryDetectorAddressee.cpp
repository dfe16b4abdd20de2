#include "memory/MemoryDetector.h"

#include "screen/ConversationStats.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QSet>

#include <unicode/uchar.h>

#include <algorithm>

namespace lumeno {

namespace {

// Lines longer than this are never To lines; a turn's sender is sought this many lines above its To line.
constexpr int maxToLineLength = 80;
constexpr int senderSearchLines = 12;

// "Anna Berg <anna@example.com>": a name of one to three capitalised words, then an address in angle
// brackets. A name starts at the first capital of its run of letters, as a search from every capital of the
// run would find no other: so each run is tried once, not once per capital in it, and the address is
// checked in one pass (the domain needs a full stop after its first character, with a character after it).
const Regex& displayEmailPattern() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"re((?<![\p{L}'’\-])[[\p{L}'’\-]&&[^\p{Lu}]]*+([\p{Lu}][\p{L}'’\-]++(?:\s++[\p{Lu}][\p{L}'’\-]++){0,2}))re"
        R"re(\s*+<([^<>\s@]++@[^<>\s@](?=[^<>\s@]*?\.[^<>\s@])[^<>\s@]*+)>)re"));
    return pattern;
}

// Closing phrases, longest first (the order in which a sign-off line is stripped of one).
const QStringList& closings() {
    static const QStringList phrases = [] {
        QStringList list{QStringLiteral("thanks"), QStringLiteral("thank you"), QStringLiteral("thx"), QStringLiteral("best"), QStringLiteral("best regards"), QStringLiteral("regards"), QStringLiteral("kind regards"), QStringLiteral("warm regards"), QStringLiteral("cheers"), QStringLiteral("lp"), QStringLiteral("lep pozdrav"), QStringLiteral("hvala"), QStringLiteral("s spoštovanjem"), QStringLiteral("lg"), QStringLiteral("viele grüße"), QStringLiteral("sent from my iphone")};
        std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
            return Text::graphemeCount(a) > Text::graphemeCount(b);
        });
        return list;
    }();
    return phrases;
}

bool isClosing(const QString& text) {
    return closings().contains(Text::lowercased(text));
}

QString firstWord(const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.isEmpty() ? QString() : words.front();
}

int characterCount(const QString& text) {
    // A text of at most the limit in UTF-16 units cannot have more characters; only longer ones are counted.
    return text.size() <= maxToLineLength ? int(text.size()) : Text::graphemeCount(text);
}

// The recipients of a To line ("To: Anna, Bob"), or none when the line is not one.
std::optional<QString> toLineRecipients(const QString& trimmedLine) {
    if (characterCount(trimmedLine) > maxToLineLength || !trimmedLine.startsWith(QLatin1String("to"), Qt::CaseInsensitive))
        return std::nullopt;
    static const Regex toLine = Regex::fixed(QStringLiteral(R"re((?i)^to:?\s+(\S.*)$)re"));
    const std::optional<RegexMatch> match = toLine.firstMatch(trimmedLine);
    if (!match)
        return std::nullopt;
    const QString recipients = Text::trimmed(match->captured(trimmedLine, 1));
    return recipients.isEmpty() ? std::nullopt : std::optional<QString>(recipients);
}

// A word of a signed name: a capital first, then only letters, apostrophes, hyphens and full stops.
bool isSignatureWord(const QString& word) {
    bool first = true;
    for (const char32_t codePoint : word.toUcs4()) {
        if (first && !u_isupper(codePoint))
            return false;
        first = false;
        const bool allowedMark = codePoint == U'\'' || codePoint == U'\u2019' || codePoint == U'-' || codePoint == U'.';
        if (!allowedMark && !u_isalpha(codePoint))
            return false;
    }
    return !first;
}

} // namespace

const Regex& MemoryDetector::directMessageTitle() {
    static const Regex pattern = Regex::fixed(QStringLiteral(R"re(^([\p{Lu}][\p{L}'’\-]+(?:\s+[\p{Lu}][\p{L}'’\-]+){0,2})\s+\(DM\)\s+[-–—|])re"));
    return pattern;
}

bool MemoryDetector::isUser(const QString& name, const QStringList& ownNames) {
    const QString folded = Text::folded(Text::trimmed(name));
    if (folded.isEmpty())
        return false;
    if (folded == QLatin1String("me") || folded == QLatin1String("myself"))
        return true;
    for (const QString& ownName : ownNames) {
        const QString own = Text::folded(Text::trimmed(ownName));
        if (own.isEmpty())
            continue;
        if (own == folded)
            return true;
        const QString ownFirstWord = firstWord(own);
        if (Text::graphemeCount(ownFirstWord) >= 2 && ownFirstWord == folded)
            return true;
    }
    return false;
}

bool MemoryDetector::isPlausibleName(const QString& name) {
    constexpr int mostWords = 5;
    constexpr int mostCharacters = 40;
    QString shown = Text::trimmed(name);
    if (const qsizetype address = shown.lastIndexOf(QLatin1Char('<')); address >= 0 && shown.endsWith(QLatin1Char('>')))
        shown = Text::trimmed(shown.left(address));
    const QStringList words = shown.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > mostWords || Text::graphemeCount(shown) > mostCharacters)
        return false;
    static const QString joiners = QStringLiteral(".'’-,&()");
    for (const QString& word : words) {
        bool hasLetter = false;
        for (const char32_t codePoint : word.toUcs4()) {
            const bool letter = u_isalpha(codePoint) || (U_GET_GC_MASK(codePoint) & U_GC_M_MASK) != 0;
            if (!letter && !joiners.contains(QChar(codePoint)))
                return false;
            hasLetter = hasLetter || letter;
        }
        if (!hasLetter && word != QLatin1String("&"))
            return false;
    }
    return true;
}

std::optional<QString> MemoryDetector::nameFromEmail(const QString& email) {
    const QStringList parts = email.split(QLatin1Char('@'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::nullopt;
    static const Regex lettersOnly = Regex::fixed(QStringLiteral("^\\p{L}+$"));
    QStringList pieces{QString()};
    for (const QChar c : parts.front()) {
        if (c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('_'))
            pieces << QString();
        else
            pieces.back() += c;
    }
    QStringList words;
    for (const QString& piece : pieces) {
        if (Text::graphemeCount(piece) >= 2 && lettersOnly.matchesAnywhere(piece))
            words << Text::capitalizedFirst(Text::lowercased(piece));
    }
    if (words.isEmpty() || words.size() >= 4)
        return std::nullopt;
    return words.join(QLatin1Char(' '));
}

std::optional<QString> MemoryDetector::signOff(const QString& text) {
    static const Regex signOffTail = Regex::fixed(QStringLiteral(R"re([.!?]\s+(?=\S+(?:\s\S+){0,2}$))re"));
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (const QString trimmed = Text::trimmedHorizontal(line); !trimmed.isEmpty())
            lines << trimmed;
    if (lines.isEmpty())
        return std::nullopt;

    QString last = lines.back();
    static const QString dashes = QStringLiteral("-\u2013\u2014~ ");
    while (!last.isEmpty() && dashes.contains(last.front()))
        last.remove(0, 1);
    while (!last.isEmpty() && dashes.contains(last.back()))
        last.chop(1);

    QString candidate;
    const qsizetype comma = last.indexOf(QLatin1Char(','));
    if (comma >= 0 && isClosing(Text::trimmedHorizontal(last.left(comma)))) {
        candidate = Text::trimmedHorizontal(last.mid(comma + 1));
    } else if (lines.size() >= 2) {
        candidate = last;
    } else if (const std::optional<RegexMatch> tail = signOffTail.firstMatch(last)) {
        candidate = last.mid(tail->range().end());
    } else {
        return std::nullopt;
    }

    const QString lowered = Text::lowercased(candidate);
    for (const QString& closing : closings()) {
        if (lowered.startsWith(closing + QLatin1Char(' '))) {
            candidate.remove(0, closing.size() + 1);
            break;
        }
    }

    const QStringList words = candidate.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 3 || Text::graphemeCount(candidate) > 32
        || !std::all_of(words.begin(), words.end(), isSignatureWord))
        return std::nullopt;
    return candidate;
}

std::optional<MemoryDetector::Sender> MemoryDetector::personLine(const QString& line) {
    if (const std::optional<RegexMatch> match = displayEmailPattern().firstMatch(line))
        return Sender{Text::trimmedHorizontal(match->captured(line, 1)), Text::lowercased(match->captured(line, 2))};
    static const Regex nameLine = Regex::fixed(QStringLiteral(R"re(^[\p{Lu}][\p{L}'’\-]+(?:\s+[\p{Lu}][\p{L}'’\-]+){0,2}$)re"));
    if (nameLine.matchesAnywhere(line) && !isClosing(line))
        return Sender{line, std::nullopt};
    return std::nullopt;
}

QList<MemoryDetector::MailTurn> MemoryDetector::mailTurns(const QString& text, std::optional<qsizetype> fieldOffset) {
    QStringList lines;
    std::vector<qsizetype> lineEnds;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QString line = text.mid(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines << Text::trimmedHorizontal(line);
        lineEnds.push_back(end);
        start = end + 1;
    }
    // Nothing but spacing between a line and the field.
    const auto nextToField = [&](qsizetype lineEnd) {
        return fieldOffset && lineEnd <= *fieldOffset && Text::trimmed(text.mid(lineEnd, *fieldOffset - lineEnd)).isEmpty();
    };

    QList<MailTurn> turns;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const std::optional<QString> recipients = toLineRecipients(lines[index]);
        if (!recipients)
            continue;
        MailTurn turn{std::nullopt, *recipients, nextToField(lineEnds[std::size_t(index)])};
        for (qsizetype above = index - 1; above >= 0 && above >= index - senderSearchLines; --above) {
            const QString& line = lines[above];
            if (line.isEmpty() || toLineRecipients(line) || ConversationStats::isTimestampLine(line))
                continue;
            if ((turn.from = personLine(line)))
                break;
        }
        turns.append(turn);
    }
    return turns;
}

QList<MemoryDetector::Sender> MemoryDetector::toNames(const std::optional<QString>& to, const QStringList& ownNames) {
    if (!to)
        return {};
    QList<Sender> names;
    for (const QString& piece : to->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString entry = Text::trimmed(piece);
        if (entry.isEmpty() || isUser(entry, ownNames) || isUser(firstWord(entry), ownNames))
            continue;
        // "Bo Lind <bo@example.com>" is a name and an address, as on a sender line.
        const std::optional<Sender> shown = personLine(entry);
        if (shown && shown->email) {
            if (!isUser(shown->name, ownNames) && !isUser(*shown->email, ownNames))
                names << *shown;
            continue;
        }
        names << Sender{entry, std::nullopt};
    }
    return names;
}

QString MemoryDetector::fullerName(const QString& name, const QList<MailTurn>& turns, const QStringList& ownNames) {
    const QString folded = Text::folded(name);
    for (auto turn = turns.rbegin(); turn != turns.rend(); ++turn) {
        if (!turn->from || isUser(turn->from->name, ownNames))
            continue;
        const QString sender = Text::folded(turn->from->name);
        if (sender == folded || firstWord(sender) == folded)
            return turn->from->name;
    }
    return name;
}

std::optional<QString> MemoryDetector::email(const QString& name, const QList<MailTurn>& turns) {
    const QString folded = Text::folded(name);
    for (auto turn = turns.rbegin(); turn != turns.rend(); ++turn)
        if (turn->from && Text::folded(turn->from->name) == folded)
            return turn->from->email;
    return std::nullopt;
}

std::optional<MemoryDetector::Sender> MemoryDetector::sender(const QString& text, const std::optional<QString>& own) {
    // The greeting opens its line: only the white space of that line is skipped, so blank lines are not
    // walked again from every line start above the greeting.
    static const Regex greeting = Regex::fixed(QStringLiteral(
        R"re((?im)^[^\S\n\x0B\x0C\r\x{85}\x{2028}\x{2029}]*+(?:hi|hey|hello|dear|morning|zdravo|živjo|pozdravljen[ia]?|hallo|ciao))re"
        R"re(\s++([\p{Lu}][\p{L}'’\-]+))re"));
    const QString normalized = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString excluded;
    std::optional<QString> greetedName;
    if (own) {
        excluded = Text::trimmedHorizontal(Text::folded(*own));
    } else if (const std::optional<RegexMatch> greeted = greeting.firstMatch(normalized)) {
        greetedName = Text::lowercased(greeted->captured(normalized, 1));
    }
    const QString excludedFirstWord = firstWord(excluded);

    auto usable = [&](const QString& candidate) {
        const QString folded = Text::folded(candidate);
        if (!excluded.isEmpty()) {
            if (folded == excluded)
                return false;
            if (excluded.contains(QLatin1Char(' ')) && !folded.contains(QLatin1Char(' ')) && folded == excludedFirstWord)
                return false;
        }
        if (greetedName && Text::lowercased(firstWord(candidate)) == *greetedName)
            return false;
        return !isClosing(candidate);
    };

    // Opens its line, like the greeting above. No run of white space or of the domain is taken apart in
    // more than one way: the name neither starts nor ends inside the white space around it, and the domain
    // is taken whole once it holds a dot with something on either side. Otherwise a long run of spaces
    // after "From:" is tried in cubic time.
    static const Regex fromLine = Regex::fixed(QStringLiteral(
        R"re((?im)^[^\S\n\x0B\x0C\r\x{85}\x{2028}\x{2029}]*+from:\s*+(?:"?([^"<\n@]+?)"?(?<!\s)\s++)?<?([^<>\s@]+@(?=[^<>\s@]+?\.[^<>\s@])[^<>\s@]++)>?\s*$)re"));
    if (const std::optional<RegexMatch> from = fromLine.firstMatch(normalized)) {
        const QString address = from->captured(normalized, 2);
        QString name = Text::trimmedHorizontal(from->captured(normalized, 1));
        if (name.isEmpty() || !isPlausibleName(name))
            name = nameFromEmail(address).value_or(QString());
        if (!name.isEmpty() && usable(name))
            return Sender{name, Text::lowercased(address)};
    }
    for (const RegexMatch& match : displayEmailPattern().allMatches(normalized)) {
        const QString name = match.captured(normalized, 1);
        if (usable(name))
            return Sender{name, Text::lowercased(match.captured(normalized, 2))};
    }
    const QStringList lines = normalized.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty()) {
        static const Regex chatHeader = Regex::fixed(QStringLiteral(R"re(^([\p{Lu}][\p{L}'’\-]+(?:\s+[\p{Lu}][\p{L}'’\-]+){0,2})\s{1,4}\[?\d{1,2}[:.]\d{2})re"));
        if (const std::optional<RegexMatch> header = chatHeader.firstMatch(lines.front())) {
            const QString name = header->captured(lines.front(), 1);
            if (usable(name))
                return Sender{name, std::nullopt};
        }
    }
    if (const std::optional<QString> signedName = signOff(normalized); signedName && usable(*signedName))
        return Sender{*signedName, std::nullopt};
    return std::nullopt;
}

std::optional<MemoryDetector::Sender> MemoryDetector::senderExcluding(const QString& text, const QStringList& ownNames) {
    std::optional<QString> longest;
    for (const QString& name : ownNames)
        if (!longest || Text::graphemeCount(name) > Text::graphemeCount(*longest))
            longest = name;
    std::optional<Sender> found = sender(text, longest);
    if (found && isUser(found->name, ownNames))
        return std::nullopt;
    return found;
}

std::optional<MemoryDetector::Addressed> MemoryDetector::recipient(const QString& text, const QStringList& ownNames,
                                                                  std::optional<qsizetype> fieldOffset) {
    QList<MailTurn> turns = mailTurns(text, fieldOffset);
    std::optional<MailTurn> replyHeader;
    if (!turns.isEmpty() && turns.back().headsReply)
        replyHeader = turns.takeLast();
    QStringList names = ownNames;
    std::optional<QString> appearedAs;

    // A message that went to someone other than the user was sent by the user, whatever name it shows.
    for (const MailTurn& turn : turns) {
        if (!toNames(turn.to, ownNames).isEmpty() && turn.from && !isUser(turn.from->name, ownNames)) {
            names << turn.from->name;
            if (turn.from->email)
                names << *turn.from->email;
            appearedAs = turn.from->name;
        }
    }

    // A To entry's address, when it shows one, is the addressee's; else the one a sender of that name used.
    auto addressedTo = [&](const Sender& entry, bool followingUp) {
        const QString name = fullerName(entry.name, turns, names);
        return Addressed{name, entry.email ? entry.email : email(name, turns), followingUp, appearedAs};
    };
    auto addresseeOf = [&](const MailTurn& turn, bool newest) -> std::optional<Addressed> {
        if (const QList<Sender> to = toNames(turn.to, names); !to.isEmpty())
            return addressedTo(to.front(), true);
        if (turn.from && !isUser(turn.from->name, names))
            return Addressed{turn.from->name, turn.from->email, !newest, appearedAs};
        return std::nullopt;
    };
    // Names from To lines and sender lines are whatever the thread shows: one that is no name is replaced by
    // the name in the address, or the addressee stays unknown.
    auto plausible = [](Addressed found) -> std::optional<Addressed> {
        if (found.appearedAs && !isPlausibleName(*found.appearedAs))
            found.appearedAs.reset();
        if (isPlausibleName(found.name))
            return found;
        const std::optional<QString> fromAddress = found.email ? nameFromEmail(*found.email) : std::nullopt;
        if (!fromAddress)
            return std::nullopt;
        found.name = *fromAddress;
        return found;
    };
    std::optional<Addressed> found;
    for (qsizetype index = turns.size() - 1; index >= 0 && !found; --index)
        found = addresseeOf(turns[index], index == turns.size() - 1);
    if (!found)
        if (const std::optional<Sender> fallback = senderExcluding(text, names))
            found = Addressed{fallback->name, fallback->email, false, appearedAs};

    // The reply's own header says who it goes to; whether it follows up is still the thread's to say.
    if (const QList<Sender> to = replyHeader ? toNames(replyHeader->to, names) : QList<Sender>(); !to.isEmpty())
        return plausible(addressedTo(to.front(), found && found->followingUp));
    return found ? plausible(*found) : std::nullopt;
}

} // namespace lumeno
