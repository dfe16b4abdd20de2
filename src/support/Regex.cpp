#include "support/Regex.h"

#include "support/IcuString.h"
#include "support/Log.h"

#include <QtGlobal>

#include <algorithm>
#include <unicode/parseerr.h>
#include <unicode/regex.h>
#include <unicode/utext.h>

namespace lumeno {

namespace {

// ICU counts its time limit in ticks of 10,000 matching steps. The program's patterns take at most a few
// dozen steps per unit of text; the budget allows several times that, plus a floor for short texts, so
// only a pattern that runs away (work growing with the square of the text, or worse) ever reaches it. A
// tick is well under a millisecond, so the floor is a few milliseconds.
constexpr qint64 stepsPerTick = 10'000;
constexpr qint64 budgetStepsPerUnit = 200;
constexpr qint64 budgetFloorSteps = 500'000;

int32_t timeLimit(qsizetype units) {
    const qint64 ticks = (budgetFloorSteps + qint64(units) * budgetStepsPerUnit) / stepsPerTick + 1;
    return int32_t(std::min<qint64>(ticks, INT32_MAX));
}

void logRanOutOfTime(const QString& pattern, qsizetype units) {
    constexpr qsizetype shownPatternUnits = 80;
    Log::app.error(QStringLiteral("A text pattern ran out of time on %{public}ld characters and stopped: %{public}s"),
                   {qint64(units), pattern.left(shownPatternUnits)});
}

// One search over one span of a string: a matcher reading the string's UTF-16 buffer through a UText, so
// native indexes plus the span's offset are QString positions. RegexPattern is safe to share between
// threads; matchers are not, so every search makes its own.
class RegexSearch {
public:
    RegexSearch(const icu::RegexPattern& pattern, const QString& patternText, QStringView span,
                qsizetype offset = 0)
        : patternText_(patternText), units_(span.size()), offset_(offset) {
        UErrorCode status = U_ZERO_ERROR;
        utext_openUChars(&input_, reinterpret_cast<const UChar*>(span.utf16()), span.size(), &status);
        matcher_.reset(pattern.matcher(status));
        if (U_SUCCESS(status))
            matcher_->reset(&input_);
        // ICU's default 8 MB backtracking limit makes a long text fail as "no match"; memory use stays
        // proportional to the text instead.
        if (U_SUCCESS(status))
            matcher_->setStackLimit(0, status);
        if (U_SUCCESS(status))
            matcher_->setTimeLimit(timeLimit(span.size()), status);
        if (U_FAILURE(status))
            matcher_.reset();
    }
    ~RegexSearch() {
        matcher_.reset();
        utext_close(&input_);
    }
    RegexSearch(const RegexSearch&) = delete;
    RegexSearch& operator=(const RegexSearch&) = delete;

    // The next non-overlapping match; ICU steps past an empty match by one code point.
    std::optional<RegexMatch> next() {
        if (!matcher_ || timedOut_)
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        const bool found = matcher_->find(status);
        if (status == U_REGEX_TIME_OUT)
            ranOutOfTime();
        if (!found || U_FAILURE(status))
            return std::nullopt;
        RegexMatch match;
        const int groupCount = matcher_->groupCount();
        match.groups.reserve(groupCount + 1);
        for (int group = 0; group <= groupCount; ++group) {
            const int64_t start = matcher_->start64(group, status);
            const int64_t end = matcher_->end64(group, status);
            if (U_FAILURE(status) || start < 0)
                match.groups.emplace_back(std::nullopt);
            else
                match.groups.emplace_back(TextRange{offset_ + start, end - start});
        }
        return match;
    }

    std::vector<RegexMatch> rest() {
        std::vector<RegexMatch> matches;
        while (auto match = next())
            matches.push_back(*std::move(match));
        return matches;
    }

    // Replaced here rather than by ICU's replaceAll, whose searches do not report running out of time (it
    // would hand back a text replaced only up to where the time ran out).
    std::optional<QString> replaceAll(const QString& replacementTemplate) {
        if (!matcher_)
            return std::nullopt;
        const icu::UnicodeString replacement = icuAlias(replacementTemplate);
        icu::UnicodeString result;
        UErrorCode status = U_ZERO_ERROR;
        while (matcher_->find(status) && U_SUCCESS(status))
            matcher_->appendReplacement(result, replacement, status);
        if (status == U_REGEX_TIME_OUT)
            ranOutOfTime();
        if (U_FAILURE(status))
            return std::nullopt;
        matcher_->appendTail(result);
        return toQString(result);
    }

    bool timedOut() const { return timedOut_; }

private:
    void ranOutOfTime() {
        timedOut_ = true;
        logRanOutOfTime(patternText_, units_);
    }

    const QString& patternText_;
    qsizetype units_ = 0;
    qsizetype offset_ = 0;
    bool timedOut_ = false;
    UText input_ = UTEXT_INITIALIZER;
    std::unique_ptr<icu::RegexMatcher> matcher_;
};

} // namespace

struct Regex::Compiled {
    std::unique_ptr<icu::RegexPattern> pattern;
};

std::optional<TextRange> RegexMatch::group(int index) const {
    if (index < 0 || size_t(index) >= groups.size())
        return std::nullopt;
    return groups[index];
}

QString RegexMatch::captured(const QString& text, int index) const {
    const auto range = group(index);
    return range ? text.mid(range->start, range->length) : QString();
}

Regex::Regex(QString pattern, std::shared_ptr<const Compiled> compiled)
    : pattern_(std::move(pattern)), compiled_(std::move(compiled)) {}

Regex Regex::fixed(const QString& pattern) {
    QString error;
    auto regex = compile(pattern, &error);
    if (!regex)
        qFatal("Built-in pattern %s does not compile: %s", qUtf8Printable(pattern), qUtf8Printable(error));
    return *std::move(regex);
}

std::optional<Regex> Regex::compile(const QString& pattern, QString* error) {
    UParseError where{};
    UErrorCode status = U_ZERO_ERROR;
    auto compiled = std::make_shared<Compiled>();
    compiled->pattern.reset(icu::RegexPattern::compile(icuAlias(pattern), 0, where, status));
    if (U_FAILURE(status)) {
        if (error)
            *error = QStringLiteral("%1 at offset %2")
                         .arg(QString::fromLatin1(u_errorName(status)))
                         .arg(where.offset);
        return std::nullopt;
    }
    return Regex(pattern, std::move(compiled));
}

std::optional<RegexMatch> Regex::firstMatch(const QString& text) const {
    return RegexSearch(*compiled_->pattern, pattern_, text).next();
}

std::optional<RegexMatch> Regex::firstMatch(const QString& text, TextRange range) const {
    if (range.start < 0 || range.length < 0 || range.end() > text.size())
        return std::nullopt;
    // Searching the span itself (rather than an ICU region) keeps look-behind from seeing past its start.
    return RegexSearch(*compiled_->pattern, pattern_, QStringView(text).sliced(range.start, range.length),
                       range.start)
        .next();
}

std::vector<RegexMatch> Regex::allMatches(const QString& text) const {
    RegexSearch search(*compiled_->pattern, pattern_, text);
    return search.rest();
}

std::optional<std::vector<RegexMatch>> Regex::completeMatches(const QString& text) const {
    RegexSearch search(*compiled_->pattern, pattern_, text);
    std::vector<RegexMatch> matches = search.rest();
    if (search.timedOut())
        return std::nullopt;
    return matches;
}

QString Regex::replaceAll(const QString& text, const QString& replacementTemplate) const {
    return RegexSearch(*compiled_->pattern, pattern_, text).replaceAll(replacementTemplate).value_or(text);
}

} // namespace lumeno
