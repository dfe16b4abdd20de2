#pragma once

#include <QString>
#include <QStringList>

namespace lumeno {

// Text rules of the program. "Characters" always means grapheme clusters (what a user sees as one).
class Text {
public:
    // Trims Unicode white space and line breaks at both ends.
    static QString trimmed(const QString& text);
    // Trims spaces and tabs (horizontal white space) at both ends, keeping line breaks.
    static QString trimmedHorizontal(const QString& text);
    // The text on one line: each line break, with the white space around it, becomes a single space.
    static QString oneLine(const QString& text);
    // Trims white space, line breaks and punctuation at both ends, per code point.
    static QString trimmedWithPunctuation(const QString& text);

    // Case- and diacritic-insensitive key with no locale: full case folding, accents removed.
    static QString folded(const QString& text);
    // Lower and upper case in the root locale (final sigma handled).
    static QString lowercased(const QString& text);
    static QString uppercased(const QString& text);
    // The first character upper-cased, the rest unchanged.
    static QString capitalizedFirst(const QString& text);

    static int graphemeCount(const QString& text);
    // Whether `text` has at least `count` characters; a long text is settled by its beginning.
    static bool hasAtLeastCharacters(const QString& text, int count);
    // The first `count` characters (all of them when there are fewer).
    static QString graphemePrefix(const QString& text, int count);
    // The last `count` characters.
    static QString graphemeSuffix(const QString& text, int count);

    // Equal after canonical (NFC) normalisation.
    static bool canonicallyEqual(const QString& a, const QString& b);
    // Equal ignoring case (canonical equivalence respected).
    static bool equalIgnoringCase(const QString& a, const QString& b);
    // Contains `needle`, ignoring case and diacritics (an empty needle is contained in everything).
    static bool containsFolded(const QString& haystack, const QString& needle);
    // Localized, case-insensitive ordering (collator at secondary strength): <0, 0, >0. Accents still
    // order; texts differing only in case compare 0, so sort with std::stable_sort to keep their order.
    static int localizedCaseInsensitiveCompare(const QString& a, const QString& b);
};

} // namespace lumeno
