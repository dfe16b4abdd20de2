#include "support/Regex.h"

#include "support/IcuString.h"

#include <QtGlobal>
#include <unicode/parseerr.h>
#include <unicode/regex.h>
#include <unicode/utext.h>

namespace lumeno {

namespace {

// One search over one span of a string: a matcher reading the string's UTF-16 buffer through a UText, so
// native indexes plus the span's offset are QString positions. RegexPattern is safe to share between
// threads; matchers are not, so every search makes its own.
class RegexSearch {
public:
    RegexSearch(const icu::RegexPattern& pattern, QStringView span, qsizetype offset = 0) : offset_(offset) {
        UErrorCode status = U_ZERO_ERROR;
        utext_openUChars(&input_, reinterpret_cast<const UChar*>(span.utf16()), span.size(), &status);
        matcher_.reset(pattern.matcher(status));
        if (U_SUCCESS(status))
            matcher_->reset(&input_);
        // ICU's default 8 MB backtracking limit makes a long text fail as "no match"; memory use stays
        // proportional to the text instead.
        if (U_SUCCESS(status))
            matcher_->setStackLimit(0, status);
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
        if (!matcher_)
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        if (!matcher_->find(status) || U_FAILURE(status))
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

    std::optional<QString> replaceAll(const QString& replacementTemplate) {
        if (!matcher_)
            return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        const icu::UnicodeString result = matcher_->replaceAll(icuAlias(replacementTemplate), status);
        if (U_FAILURE(status))
            return std::nullopt;
        return toQString(result);
    }

private:
    qsizetype offset_ = 0;
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
    return RegexSearch(*compiled_->pattern, text).next();
}

std::optional<RegexMatch> Regex::firstMatch(const QString& text, TextRange range) const {
    if (range.start < 0 || range.length < 0 || range.end() > text.size())
        return std::nullopt;
    // Searching the span itself (rather than an ICU region) keeps look-behind from seeing past its start.
    return RegexSearch(*compiled_->pattern, QStringView(text).sliced(range.start, range.length), range.start)
        .next();
}

std::vector<RegexMatch> Regex::allMatches(const QString& text) const {
    std::vector<RegexMatch> matches;
    RegexSearch search(*compiled_->pattern, text);
    while (auto match = search.next())
        matches.push_back(*std::move(match));
    return matches;
}

QString Regex::replaceAll(const QString& text, const QString& replacementTemplate) const {
    return RegexSearch(*compiled_->pattern, text).replaceAll(replacementTemplate).value_or(text);
}

} // namespace lumeno
