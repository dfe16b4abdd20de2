#include "support/Text.h"

#include "support/IcuString.h"

#include <algorithm>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/unorm.h>
#include <unicode/utext.h>

namespace lumeno {

namespace {

using CodePointTest = bool (*)(UChar32);

QString trimmedWhere(const QString& text, CodePointTest trims) {
    const auto* units = reinterpret_cast<const UChar*>(text.utf16());
    const int32_t length = int32_t(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U16_NEXT(units, next, length, c);
        if (!trims(c))
            break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c;
        U16_PREV(units, start, previous, c);
        if (!trims(c))
            break;
        end = previous;
    }
    return text.sliced(start, end - start);
}

// Copies the runs between nonspacing marks (accents, once decomposed); a frozen set is safe to share.
QString withoutNonspacingMarks(const icu::UnicodeString& decomposed) {
    static const auto marks = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto set = std::make_unique<icu::UnicodeSet>(icu::UnicodeString(u"[:Mn:]"), status);
        set->freeze();
        return set;
    }();
    const char16_t* units = decomposed.getBuffer();
    const int32_t length = decomposed.length();
    QString kept;
    kept.reserve(length);
    for (int32_t start = 0; start < length;) {
        const int32_t keptLength = marks->span(units + start, length - start, USET_SPAN_NOT_CONTAINED);
        kept.append(reinterpret_cast<const QChar*>(units + start), keptLength);
        start += keptLength;
        start += marks->span(units + start, length - start, USET_SPAN_CONTAINED);
    }
    return kept;
}

// Grapheme boundaries of one string, read in place. Break iterators are costly to build and not safe to
// share, so each thread keeps one.
class GraphemeBreaks {
public:
    explicit GraphemeBreaks(const QString& text) {
        UErrorCode status = U_ZERO_ERROR;
        utext_openUChars(&input_, reinterpret_cast<const UChar*>(text.utf16()), text.size(), &status);
        iterator_ = threadIterator();
        if (iterator_ && U_SUCCESS(status))
            iterator_->setText(&input_, status);
        if (U_FAILURE(status))
            iterator_ = nullptr;
    }
    ~GraphemeBreaks() { utext_close(&input_); }
    GraphemeBreaks(const GraphemeBreaks&) = delete;
    GraphemeBreaks& operator=(const GraphemeBreaks&) = delete;

    bool isValid() const { return iterator_ != nullptr; }

    int count() {
        int graphemes = 0;
        iterator_->first();
        while (iterator_->next() != icu::BreakIterator::DONE)
            ++graphemes;
        return graphemes;
    }

    enum class From { start, end };

    // The UTF-16 offset `graphemes` characters in from one end; the other end when there are fewer.
    int32_t offsetIn(int graphemes, From from) {
        const bool forward = from == From::start;
        int32_t offset = forward ? iterator_->first() : iterator_->last();
        for (int i = 0; i < graphemes; ++i) {
            const int32_t boundary = forward ? iterator_->next() : iterator_->previous();
            if (boundary == icu::BreakIterator::DONE)
                break;
            offset = boundary;
        }
        return offset;
    }

private:
    static icu::BreakIterator* threadIterator() {
        thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
            UErrorCode status = U_ZERO_ERROR;
            std::unique_ptr<icu::BreakIterator> made(
                icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
            return U_SUCCESS(status) ? std::move(made) : nullptr;
        }();
        return iterator.get();
    }

    UText input_ = UTEXT_INITIALIZER;
    icu::BreakIterator* iterator_ = nullptr;
};

// The user's locale for ordering. Under the C locale ICU picks en_US_POSIX, whose ordering is plain ASCII
// code order where case is a primary difference; the root ordering is what such users expect.
icu::Locale collationLocale() {
    const icu::Locale& preferred = icu::Locale::getDefault();
    return qstrcmp(preferred.getVariant(), "POSIX") == 0 ? icu::Locale::getRoot() : preferred;
}

// Collators are costly to build and not safe to share for comparing, so each thread keeps one.
icu::Collator* secondaryStrengthCollator() {
    thread_local const std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(collationLocale(), status));
        if (U_FAILURE(status))
            return std::unique_ptr<icu::Collator>();
        made->setStrength(icu::Collator::SECONDARY);
        return made;
    }();
    return collator.get();
}

int normalizedCompare(const QString& a, const QString& b, uint32_t options) {
    UErrorCode status = U_ZERO_ERROR;
    const int result = unorm_compare(reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                                     reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()),
                                     options | U_COMPARE_CODE_POINT_ORDER, &status);
    // Only invalid arguments make ICU fail here; unequal is the safe answer then.
    return U_SUCCESS(status) ? result : (a == b ? 0 : 1);
}

// Plain ASCII needs none of ICU's machinery: it folds to its lower case, and each character is one
// grapheme except a CR LF pair. Short ASCII names and addresses are the common case in hot loops.
bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

QString Text::trimmed(const QString& text) {
    return trimmedWhere(text, [](UChar32 c) { return bool(u_isUWhiteSpace(c)); });
}

QString Text::trimmedHorizontal(const QString& text) {
    return trimmedWhere(text, [](UChar32 c) { return bool(u_isblank(c)); });
}

QString Text::oneLine(const QString& text) {
    const auto isBreak = [](QChar c) {
        return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
               || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.begin(), text.end(), isBreak))
        return text;
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (!isBreak(text[i])) {
            line += text[i++];
            continue;
        }
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        while (i < text.size() && text[i].isSpace())
            ++i;
        // A break at either end joins nothing.
        if (!line.isEmpty() && i < text.size())
            line += u' ';
    }
    return line;
}

QString Text::trimmedWithPunctuation(const QString& text) {
    return trimmedWhere(text, [](UChar32 c) { return u_isUWhiteSpace(c) || u_ispunct(c); });
}

QString Text::folded(const QString& text) {
    // Most keys are plain ASCII, where folding is lower-casing and there is nothing to decompose.
    if (isAscii(text))
        return text.toLower();
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return text;
    icu::UnicodeString caseFolded = icuAlias(text);
    caseFolded.foldCase(U_FOLD_CASE_DEFAULT);
    const icu::UnicodeString decomposed = nfd->normalize(caseFolded, status);
    const QString withoutMarks = withoutNonspacingMarks(decomposed);
    const icu::UnicodeString composed = nfc->normalize(icuAlias(withoutMarks), status);
    return U_SUCCESS(status) ? toQString(composed) : text;
}

QString Text::lowercased(const QString& text) {
    icu::UnicodeString converted = icuAlias(text);
    return toQString(converted.toLower(icu::Locale::getRoot()));
}

QString Text::uppercased(const QString& text) {
    icu::UnicodeString converted = icuAlias(text);
    return toQString(converted.toUpper(icu::Locale::getRoot()));
}

QString Text::capitalizedFirst(const QString& text) {
    const QString first = graphemePrefix(text, 1);
    return uppercased(first) + text.sliced(first.size());
}

int Text::graphemeCount(const QString& text) {
    if (isAscii(text))
        return int(text.size() - text.count(QLatin1String("\r\n")));
    GraphemeBreaks breaks(text);
    return breaks.isValid() ? breaks.count() : int(text.size());
}

bool Text::hasAtLeastCharacters(const QString& text, int count) {
    if (count <= 0)
        return true;
    if (text.size() < count) // a character is at least one UTF-16 unit
        return false;
    // Only clusters of many units each need more of the text than its beginning.
    const qsizetype probe = qsizetype(count) * 16;
    if (text.size() > probe && graphemeCount(text.left(probe)) >= count)
        return true;
    return graphemeCount(text) >= count;
}

QString Text::graphemePrefix(const QString& text, int count) {
    if (count <= 0)
        return QString();
    GraphemeBreaks breaks(text);
    return breaks.isValid() ? text.first(breaks.offsetIn(count, GraphemeBreaks::From::start))
                            : text.left(count);
}

QString Text::graphemeSuffix(const QString& text, int count) {
    if (count <= 0)
        return QString();
    GraphemeBreaks breaks(text);
    return breaks.isValid() ? text.sliced(breaks.offsetIn(count, GraphemeBreaks::From::end))
                            : text.right(count);
}

bool Text::canonicallyEqual(const QString& a, const QString& b) {
    return normalizedCompare(a, b, 0) == 0;
}

bool Text::equalIgnoringCase(const QString& a, const QString& b) {
    return normalizedCompare(a, b, U_COMPARE_IGNORE_CASE | U_FOLD_CASE_DEFAULT) == 0;
}

bool Text::containsFolded(const QString& haystack, const QString& needle) {
    return folded(haystack).contains(folded(needle));
}

int Text::localizedCaseInsensitiveCompare(const QString& a, const QString& b) {
    icu::Collator* collator = secondaryStrengthCollator();
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        collator ? collator->compare(icuAlias(a), icuAlias(b), status) : UCOL_EQUAL;
    if (!collator || U_FAILURE(status))
        return QString::compare(a, b, Qt::CaseInsensitive);
    return int(result);
}

} // namespace lumeno
