#include "memory/DateDetector.h"

#include "support/Clock.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QHash>

#include <functional>
#include <vector>

namespace lumeno {

namespace {

// What one expression names: a day, a time of day, both, or a whole instant ("in two hours").
struct Piece {
    TextRange range;
    std::optional<QDate> day;
    std::optional<QTime> time;
    bool timeIsDefault = false; // "tonight", "end of day": a time named right after replaces it
    std::optional<QDateTime> instant;

    // A day whose time of day may still follow, and a time of day whose day may follow.
    bool isDayOnly() const { return day && (!time || timeIsDefault) && !instant; }
    bool isTimeOnly() const { return time && !day && !instant; }
};

struct Hit {
    const QString& text;
    const RegexMatch& match;
    QDateTime now; // local time

    QDate today() const { return now.date(); }
    bool has(int group) const { return match.group(group).has_value(); }
    QString group(int index) const { return Text::lowercased(match.captured(text, index)); }
    int number(int index) const { return match.captured(text, index).toInt(); }
};

using Resolve = std::function<std::optional<Piece>(const Hit&)>;

struct Rule {
    Regex regex;
    Resolve resolve;
};

Piece onDay(const QDate& day) {
    Piece piece;
    piece.day = day;
    return piece;
}

Piece atTime(const QTime& time) {
    Piece piece;
    piece.time = time;
    return piece;
}

Piece onDayAt(const QDate& day, const QTime& time) {
    Piece piece = onDay(day);
    piece.time = time;
    piece.timeIsDefault = true;
    return piece;
}

int weekdayNumber(const QString& lowerName) {
    static const QHash<QString, int> numbers{
        {QStringLiteral("mon"), 1}, {QStringLiteral("tue"), 2}, {QStringLiteral("wed"), 3},
        {QStringLiteral("thu"), 4}, {QStringLiteral("fri"), 5}, {QStringLiteral("sat"), 6},
        {QStringLiteral("sun"), 7}};
    return numbers.value(lowerName.left(3));
}

int monthNumber(const QString& lowerName) {
    static const QStringList prefixes{QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                      QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                      QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                      QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    return int(prefixes.indexOf(lowerName.left(3))) + 1;
}

int numberWord(const QString& word) {
    static const QHash<QString, int> words = [] {
        QHash<QString, int> table{{QStringLiteral("a"), 1}, {QStringLiteral("an"), 1}};
        const QStringList units = QStringLiteral("one two three four five six seven eight nine ten eleven twelve "
                                                 "thirteen fourteen fifteen sixteen seventeen eighteen nineteen twenty")
                                      .split(QLatin1Char(' '));
        for (int i = 0; i < units.size(); ++i)
            table.insert(units[i], i + 1);
        table.insert(QStringLiteral("thirty"), 30);
        table.insert(QStringLiteral("forty"), 40);
        table.insert(QStringLiteral("fifty"), 50);
        table.insert(QStringLiteral("sixty"), 60);
        return table;
    }();
    bool isDigits = false;
    const int value = word.toInt(&isDigits);
    return isDigits ? value : words.value(word);
}

// The next occurrence of a weekday strictly after today.
QDate comingWeekday(const QDate& today, int weekday) {
    const int ahead = (weekday - today.dayOfWeek() + 7) % 7;
    return today.addDays(ahead == 0 ? 7 : ahead);
}

// Friday of the current week; on the weekend, today.
QDate endOfWeek(const QDate& today) {
    return today.dayOfWeek() > 5 ? today : today.addDays(5 - today.dayOfWeek());
}

// Saturday of the coming weekend; on the weekend, today.
QDate comingWeekend(const QDate& today) {
    return today.dayOfWeek() >= 6 ? today : today.addDays(6 - today.dayOfWeek());
}

// A day and month without a year: this year, or next year once it has passed.
std::optional<QDate> dayOfYear(const Hit& hit, int month, int day, int yearGroup) {
    if (hit.has(yearGroup)) {
        int year = hit.number(yearGroup);
        if (year < 100)
            year += 2000;
        const QDate date(year, month, day);
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    }
    const QDate thisYear(hit.today().year(), month, day);
    if (!thisYear.isValid() && !(month == 2 && day == 29))
        return std::nullopt;
    if (thisYear.isValid() && thisYear >= hit.today())
        return thisYear;
    for (int year = hit.today().year() + 1; year <= hit.today().year() + 8; ++year)
        if (const QDate later(year, month, day); later.isValid())
            return later;
    return std::nullopt;
}

std::optional<QTime> clockTime(int hour, int minute) {
    const QTime time(hour, minute);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

const QString weekdays = QStringLiteral(
    "monday|tuesday|wednesday|thursday|friday|saturday|sunday|(?-i:Mon|Tues|Tue|Wed|Thurs|Thur|Thu|Fri|Sat|Sun)");
const QString months = QStringLiteral("january|february|march|april|may|june|july|august|september|october|"
                                      "november|december|jan|feb|mar|apr|jun|jul|aug|sept|sep|oct|nov|dec");
const QString counts = QStringLiteral("\\d{1,3}|an?|one|two|three|four|five|six|seven|eight|nine|ten|eleven|"
                                      "twelve|thirteen|fourteen|fifteen|sixteen|seventeen|eighteen|nineteen|"
                                      "twenty|thirty|forty|fifty|sixty");

Regex rulePattern(const QString& body) {
    return Regex::fixed(QStringLiteral("(?i)\\b(?:") + body + QStringLiteral(")\\b"));
}

// Expressions that name a day (possibly with a default time) or a whole instant.
const std::vector<Rule>& dayRules() {
    static const std::vector<Rule> rules{
        {rulePattern(QStringLiteral("(?:the\\s+)?day\\s+after\\s+tomorrow|today|tonight|tomorrow")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QString word = hit.group(0);
             if (word.contains(QLatin1String("after")))
                 return onDay(hit.today().addDays(2));
             if (word == QLatin1String("tomorrow"))
                 return onDay(hit.today().addDays(1));
             if (word == QLatin1String("tonight"))
                 return onDayAt(hit.today(), QTime(20, 0));
             return onDay(hit.today());
         }},
        {rulePattern(QStringLiteral("(?:on\\s+)?(?:(this|next|coming)\\s+)?(") + weekdays + QStringLiteral(")")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QDate coming = comingWeekday(hit.today(), weekdayNumber(hit.group(2)));
             return onDay(hit.group(1) == QLatin1String("next") ? coming.addDays(7) : coming);
         }},
        {rulePattern(QStringLiteral("(next|this)\\s+(week|month)")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QDate today = hit.today();
             const bool next = hit.group(1) == QLatin1String("next");
             if (hit.group(2) == QLatin1String("week"))
                 return onDay(next ? today.addDays(8 - today.dayOfWeek()) : endOfWeek(today));
             const QDate first(today.year(), today.month(), 1);
             return onDay(next ? first.addMonths(1) : first.addMonths(1).addDays(-1));
         }},
        {rulePattern(QStringLiteral("(?:the\\s+)?end\\s+of\\s+(?:the\\s+|this\\s+)?(day|week|month)|(eod)")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QDate today = hit.today();
             const QString what = hit.group(1);
             if (hit.has(2) || what == QLatin1String("day"))
                 return onDayAt(today, QTime(17, 0));
             if (what == QLatin1String("week"))
                 return onDay(endOfWeek(today));
             return onDay(QDate(today.year(), today.month(), 1).addMonths(1).addDays(-1));
         }},
        {rulePattern(QStringLiteral("(the|this|next)\\s+weekend")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QDate saturday = comingWeekend(hit.today());
             return onDay(hit.group(1) == QLatin1String("next") ? saturday.addDays(7) : saturday);
         }},
        {rulePattern(QStringLiteral("(?:on\\s+)?(") + months
                     + QStringLiteral(")\\s+(\\d{1,2})(?:st|nd|rd|th)?(?:,?\\s+(\\d{4}))?")),
         [](const Hit& hit) -> std::optional<Piece> {
             const auto day = dayOfYear(hit, monthNumber(hit.group(1)), hit.number(2), 3);
             return day ? std::optional<Piece>(onDay(*day)) : std::nullopt;
         }},
        {rulePattern(QStringLiteral("(?:on\\s+)?(?:the\\s+)?(\\d{1,2})(?:st|nd|rd|th)?\\s+(?:of\\s+)?(") + months
                     + QStringLiteral(")(?:,?\\s+(\\d{4}))?")),
         [](const Hit& hit) -> std::optional<Piece> {
             const auto day = dayOfYear(hit, monthNumber(hit.group(2)), hit.number(1), 3);
             return day ? std::optional<Piece>(onDay(*day)) : std::nullopt;
         }},
        {rulePattern(QStringLiteral("(?:on\\s+)?(\\d{1,2})/(\\d{1,2})(?:/(\\d{4}|\\d{2}))?")),
         [](const Hit& hit) -> std::optional<Piece> {
             const auto day = dayOfYear(hit, hit.number(1), hit.number(2), 3);
             return day ? std::optional<Piece>(onDay(*day)) : std::nullopt;
         }},
        {rulePattern(QStringLiteral("(?:on\\s+)?(\\d{4})-(\\d{2})-(\\d{2})")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QDate day(hit.number(1), hit.number(2), hit.number(3));
             return day.isValid() ? std::optional<Piece>(onDay(day)) : std::nullopt;
         }},
        {rulePattern(QStringLiteral("in\\s+(") + counts + QStringLiteral(")\\s+(minutes?|mins?|hours?|hrs?|days?|weeks?)")),
         [](const Hit& hit) -> std::optional<Piece> {
             const int count = numberWord(hit.group(1));
             const QChar unit = hit.group(2).front();
             if (unit == QLatin1Char('d') || unit == QLatin1Char('w'))
                 return onDay(hit.today().addDays(qint64(count) * (unit == QLatin1Char('w') ? 7 : 1)));
             Piece piece;
             piece.instant = hit.now.addSecs(qint64(count) * (unit == QLatin1Char('h') ? 3600 : 60));
             return piece;
         }},
    };
    return rules;
}

// Expressions that name a time of day.
const std::vector<Rule>& timeRules() {
    static const std::vector<Rule> rules{
        {Regex::fixed(QStringLiteral("(?i)\\b(?:at\\s+)?(\\d{1,2})(?::(\\d{2}))?\\s*([ap])m\\b")),
         [](const Hit& hit) -> std::optional<Piece> {
             const int hour = hit.number(1);
             if (hour < 1 || hour > 12)
                 return std::nullopt;
             const int hour24 = hour % 12 + (hit.group(3) == QLatin1String("p") ? 12 : 0);
             const auto time = clockTime(hour24, hit.has(2) ? hit.number(2) : 0);
             return time ? std::optional<Piece>(atTime(*time)) : std::nullopt;
         }},
        {Regex::fixed(QStringLiteral("(?i)\\b(?:at\\s+)?([01]?\\d|2[0-3]):([0-5]\\d)\\b")),
         [](const Hit& hit) -> std::optional<Piece> {
             return atTime(QTime(hit.number(1), hit.number(2)));
         }},
        // A bare hour after "at": one to seven are taken as the afternoon, the usual meaning in a promise.
        {Regex::fixed(QStringLiteral("(?i)\\bat\\s+(\\d{1,2})\\b(?![:/])")),
         [](const Hit& hit) -> std::optional<Piece> {
             const int hour = hit.number(1);
             if (hour > 23)
                 return std::nullopt;
             return atTime(QTime(hour >= 1 && hour <= 7 ? hour + 12 : hour, 0));
         }},
        {rulePattern(QStringLiteral("(?:at\\s+)?(noon|midday|midnight)")),
         [](const Hit& hit) -> std::optional<Piece> {
             return atTime(hit.group(1) == QLatin1String("midnight") ? QTime(0, 0) : QTime(12, 0));
         }},
        {rulePattern(QStringLiteral("(?:(?:in\\s+the|this)\\s+)?(morning|afternoon|evening)")),
         [](const Hit& hit) -> std::optional<Piece> {
             const QString part = hit.group(1);
             return atTime(part == QLatin1String("morning")     ? QTime(9, 0)
                           : part == QLatin1String("afternoon") ? QTime(15, 0)
                                                                : QTime(19, 0));
         }},
    };
    return rules;
}

// The earliest expression of `rules` starting at or after `from` (the longest of those starting at the
// same place). Matches are taken from the whole text so that word boundaries see both neighbours.
std::optional<Piece> earliest(const std::vector<Rule>& rules, const QString& text, qsizetype from,
                              const QDateTime& now) {
    std::optional<Piece> best;
    for (const Rule& rule : rules) {
        for (const RegexMatch& match : rule.regex.allMatches(text)) {
            const TextRange range = match.range();
            if (range.start < from)
                continue;
            if (best && range.start > best->range.start)
                break;
            std::optional<Piece> piece = rule.resolve(Hit{text, match, now});
            if (!piece)
                continue;
            piece->range = range;
            if (!best || range.start < best->range.start || range.length > best->range.length)
                best = piece;
            break;
        }
    }
    return best;
}

// Only blanks and commas stand between two expressions that are read as one ("Friday, 3pm").
bool adjoins(const QString& text, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to; ++i)
        if (!text[i].isSpace() && text[i] != QLatin1Char(','))
            return false;
    return true;
}

QDateTime localInstant(const QDate& day, const QTime& time) {
    return QDateTime(day, time, Qt::LocalTime).toUTC();
}

} // namespace

DateDetector::DateDetector(const Clock& clock) : clock_(clock) {}

const DateDetector& DateDetector::system() {
    static const SystemClock systemClock;
    static const DateDetector detector(systemClock);
    return detector;
}

std::optional<DateDetector::Found> DateDetector::firstDate(const QString& text) const {
    const QDateTime now = clock_.now().toLocalTime();
    std::optional<Piece> day = earliest(dayRules(), text, 0, now);
    std::optional<Piece> time = earliest(timeRules(), text, 0, now);
    if (!day && !time)
        return std::nullopt;

    const bool dayFirst = day && (!time || day->range.start < time->range.start
                                  || (day->range.start == time->range.start && day->range.length >= time->range.length));
    Piece first = dayFirst ? *day : *time;
    // A day may be followed by its time ("tomorrow at 3pm"), a time by its day ("3pm on Friday").
    std::optional<Piece> joined;
    if (first.isDayOnly())
        joined = earliest(timeRules(), text, first.range.end(), now);
    else if (first.isTimeOnly())
        joined = earliest(dayRules(), text, first.range.end(), now);
    if (joined && adjoins(text, first.range.end(), joined->range.start)) {
        const Piece& dayPart = first.day ? first : *joined;
        const Piece& timePart = first.day ? *joined : first;
        if (dayPart.day && timePart.time) {
            first.day = dayPart.day;
            first.time = timePart.time;
            first.timeIsDefault = false;
            first.range.length = joined->range.end() - first.range.start;
        }
    }

    Found found{first.range, {}};
    if (first.instant) {
        found.date = first.instant->toUTC();
    } else if (first.day) {
        found.date = localInstant(*first.day, first.time.value_or(QTime(12, 0)));
    } else {
        // A time alone is today's, or tomorrow's once it has passed.
        QDateTime today = QDateTime(now.date(), *first.time, Qt::LocalTime);
        found.date = (today <= now ? localInstant(now.date().addDays(1), *first.time) : today.toUTC());
    }
    return found;
}

} // namespace lumeno
