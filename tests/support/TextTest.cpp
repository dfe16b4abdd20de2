#include "support/Text.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>
#include <unicode/locid.h>

namespace lumeno {
namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

const char* const family = "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466";
const char* const thumbsUpMediumSkin = "\U0001F44D\U0001F3FD";
const char* const flagFrance = "\U0001F1EB\U0001F1F7";
const char* const flagGermany = "\U0001F1E9\U0001F1EA";

TEST(TextTrim, TrimsUnicodeWhiteSpaceAndLineBreaksOnly) {
    EXPECT_EQ(Text::trimmed(u8("\u00A0\u2003 hi\u00A0there \r\n\u2028\u3000\t")), u8("hi\u00A0there"));
    EXPECT_EQ(Text::trimmed(u8(" \u0085 \n")), "");
    EXPECT_EQ(Text::trimmed(""), "");
    // Zero-width space and the byte-order mark are not white space: a user could not see them go.
    EXPECT_EQ(Text::trimmed(u8("\u200Bx\uFEFF")), u8("\u200Bx\uFEFF"));
}

TEST(TextTrim, HorizontalTrimKeepsLineBreaks) {
    EXPECT_EQ(Text::trimmedHorizontal(u8(" \t\u00A0line one\nline two \t")), u8("line one\nline two"));
    EXPECT_EQ(Text::trimmedHorizontal("\n indented\n"), "\n indented\n");
    EXPECT_EQ(Text::trimmedHorizontal(" \t "), "");
}

TEST(TextOneLine, EachLineBreakWithTheBlanksAroundItBecomesOneSpace) {
    EXPECT_EQ(Text::oneLine("Hi Anna,\n\nThursday at 3 works"), "Hi Anna, Thursday at 3 works");
    EXPECT_EQ(Text::oneLine(u8("one \r\n two\u2028three\u2029\u0085four")), "one two three four");
    EXPECT_EQ(Text::oneLine("\n\nedges\n"), "edges");
    EXPECT_EQ(Text::oneLine("keeps  double  spaces\tand tabs"), "keeps  double  spaces\tand tabs");
}

TEST(TextTrim, PunctuationTrimWorksPerCodePoint) {
    EXPECT_EQ(Text::trimmedWithPunctuation(u8("  \u00ABHello, world!\u00BB\n")), "Hello, world");
    EXPECT_EQ(Text::trimmedWithPunctuation(u8("\u00BFQu\u00E9?")), u8("Qu\u00E9"));
    EXPECT_EQ(Text::trimmedWithPunctuation("...?! "), "");
    EXPECT_EQ(Text::trimmedWithPunctuation(u8("\u2014 \"quoted\" \u2026")), "quoted");
    // Symbols and emoji are not punctuation; a trailing emoji's surrogate pair stays whole.
    EXPECT_EQ(Text::trimmedWithPunctuation("($5)"), "$5");
    EXPECT_EQ(Text::trimmedWithPunctuation(u8("Thanks! \U0001F600")), u8("Thanks! \U0001F600"));
    EXPECT_EQ(Text::trimmedWithPunctuation(u8("\U0001F600!")), u8("\U0001F600"));
}

TEST(TextFold, FoldsCaseFullyAndDropsAccents) {
    EXPECT_EQ(Text::folded(u8("Stra\u00DFe")), "strasse");
    EXPECT_EQ(Text::folded(u8("\u0130stanbul")), "istanbul");
    EXPECT_EQ(Text::folded(u8("Cr\u00E8me Br\u00FBl\u00E9e")), "creme brulee");
    EXPECT_EQ(Text::folded(u8("Cre\u0300me")), "creme"); // decomposed accent
    EXPECT_EQ(Text::folded(u8("\uFB01le")), "file");     // ligature
    EXPECT_EQ(Text::folded(u8("\u039F\u0394\u039F\u03A3")), Text::folded(u8("\u03BF\u03B4\u03BF\u03C2")));
    EXPECT_EQ(Text::folded(u8("\u00C5ngstr\u00F6m")), Text::folded(u8("\u212Bngstrom")));
}

TEST(TextFold, KeepsWhatIsNotAnAccent) {
    EXPECT_EQ(Text::folded(u8("\uD55C\uAD6D\uC5B4")), u8("\uD55C\uAD6D\uC5B4")); // Hangul recomposes
    EXPECT_EQ(Text::folded(u8(family)), u8(family));
    EXPECT_EQ(Text::folded(u8(flagFrance)), u8(flagFrance));
    EXPECT_EQ(Text::folded("order #4411-B"), "order #4411-b");
}

TEST(TextCase, RootLocaleCasingHandlesSpecialLetters) {
    EXPECT_EQ(Text::lowercased(u8("\u039F\u0394\u039F\u03A3 \u03A3\u039F\u03A6\u039F\u03A3")),
              u8("\u03BF\u03B4\u03BF\u03C2 \u03C3\u03BF\u03C6\u03BF\u03C2")); // final sigma only at word end
    EXPECT_EQ(Text::uppercased(u8("stra\u00DFe")), "STRASSE");
    EXPECT_EQ(Text::uppercased(u8("\uFB01ne")), "FINE");
    EXPECT_EQ(Text::lowercased(u8("\u0130")), u8("i\u0307"));
}

TEST(TextCase, CasingIgnoresTheUsersLocale) {
    const icu::Locale previous = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("tr", "TR"), status);
    const QString upper = Text::uppercased("istanbul");
    const QString lower = Text::lowercased("ISTANBUL");
    icu::Locale::setDefault(previous, status);
    EXPECT_EQ(upper, "ISTANBUL");
    EXPECT_EQ(lower, "istanbul");
}

TEST(TextCase, CapitalizesOnlyTheFirstCharacter) {
    EXPECT_EQ(Text::capitalizedFirst("hELLO there"), "HELLO there");
    EXPECT_EQ(Text::capitalizedFirst(u8("\u00E9mile")), u8("\u00C9mile"));
    EXPECT_EQ(Text::capitalizedFirst(u8("e\u0301mile")), u8("E\u0301mile"));
    EXPECT_EQ(Text::capitalizedFirst(u8("\u00DFx")), "SSx");
    EXPECT_EQ(Text::capitalizedFirst(u8("\U0001F44B hi")), u8("\U0001F44B hi"));
    EXPECT_EQ(Text::capitalizedFirst(""), "");
}

TEST(TextGraphemes, CountsWhatAUserSeesAsOneCharacter) {
    EXPECT_EQ(Text::graphemeCount(u8(family)), 1);
    EXPECT_EQ(Text::graphemeCount(u8(thumbsUpMediumSkin)), 1);
    EXPECT_EQ(Text::graphemeCount(u8(flagFrance) + u8(flagGermany)), 2);
    EXPECT_EQ(Text::graphemeCount(u8("e\u0301\u0323")), 1);
    EXPECT_EQ(Text::graphemeCount("\r\n"), 1);
    EXPECT_EQ(Text::graphemeCount(u8("\u1100\u1161\u11A8")), 1); // conjoining Hangul jamo
    EXPECT_EQ(Text::graphemeCount("abc"), 3);
    EXPECT_EQ(Text::graphemeCount(""), 0);
}

TEST(TextGraphemes, PrefixAndSuffixNeverSplitACharacter) {
    const QString text = u8(family) + "ab" + u8(flagFrance) + u8(flagGermany);
    EXPECT_EQ(Text::graphemePrefix(text, 1), u8(family));
    EXPECT_EQ(Text::graphemePrefix(text, 2), u8(family) + "a");
    EXPECT_EQ(Text::graphemePrefix(text, 99), text);
    EXPECT_EQ(Text::graphemePrefix(text, 0), "");
    EXPECT_EQ(Text::graphemeSuffix(text, 1), u8(flagGermany));
    EXPECT_EQ(Text::graphemeSuffix(text, 3), "b" + u8(flagFrance) + u8(flagGermany));
    EXPECT_EQ(Text::graphemeSuffix(text, 99), text);
    EXPECT_EQ(Text::graphemeSuffix(text, -1), "");
    EXPECT_EQ(Text::graphemePrefix("", 3), "");
}

TEST(TextGraphemes, EachThreadCountsIndependently) {
    const QString text = (u8(family) + u8(thumbsUpMediumSkin) + "x").repeated(100);
    std::vector<int> counts(4, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < counts.size(); ++t)
        threads.emplace_back([&, t] { counts[t] = Text::graphemeCount(text); });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counts, std::vector<int>(4, 300));
}

TEST(TextEquality, CanonicalEquivalenceIsEquality) {
    EXPECT_TRUE(Text::canonicallyEqual(u8("\u00E9"), u8("e\u0301")));
    EXPECT_TRUE(Text::canonicallyEqual(u8("\u00C5"), u8("\u212B")));
    EXPECT_TRUE(Text::canonicallyEqual(u8("q\u0307\u0323"), u8("q\u0323\u0307"))); // mark order
    EXPECT_FALSE(Text::canonicallyEqual(u8("\u00E9"), "e"));
    EXPECT_FALSE(Text::canonicallyEqual("a", "A"));
    EXPECT_FALSE(Text::canonicallyEqual(u8("\uFB01"), "fi")); // compatibility, not canonical
}

TEST(TextEquality, IgnoringCaseUsesFullFolding) {
    EXPECT_TRUE(Text::equalIgnoringCase("STRASSE", u8("stra\u00DFe")));
    EXPECT_TRUE(Text::equalIgnoringCase(u8("\u00C9T\u00C9"), u8("e\u0301te\u0301")));
    EXPECT_TRUE(
        Text::equalIgnoringCase(u8("\u03A3\u039F\u03A6\u039F\u03A3"), u8("\u03C3\u03BF\u03C6\u03BF\u03C2")));
    EXPECT_TRUE(Text::equalIgnoringCase(u8("\uFB01LE"), "file"));
    EXPECT_FALSE(Text::equalIgnoringCase(u8("\u00E9"), "e"));
    EXPECT_FALSE(Text::equalIgnoringCase("abc", "abcd"));
}

TEST(TextEquality, FoldedContainment) {
    EXPECT_TRUE(Text::containsFolded(u8("Cr\u00E8me Br\u00FBl\u00E9e"), "BRULEE"));
    EXPECT_TRUE(Text::containsFolded(u8("Stra\u00DFe 5"), "SS"));
    EXPECT_TRUE(Text::containsFolded("Istanbul", u8("\u0130st")));
    EXPECT_FALSE(Text::containsFolded("Istanbul", "x"));
    EXPECT_TRUE(Text::containsFolded("anything", ""));
}

std::vector<QString> sortedLocalized(std::vector<QString> words) {
    std::stable_sort(words.begin(), words.end(), [](const QString& a, const QString& b) {
        return Text::localizedCaseInsensitiveCompare(a, b) < 0;
    });
    return words;
}

TEST(TextOrdering, IgnoresCaseButNotAccents) {
    EXPECT_EQ(Text::localizedCaseInsensitiveCompare("apple", "APPLE"), 0);
    EXPECT_LT(Text::localizedCaseInsensitiveCompare("apple", "Banana"), 0);
    EXPECT_NE(Text::localizedCaseInsensitiveCompare(u8("\u00E9clair"), "eclair"), 0);
    EXPECT_EQ(Text::localizedCaseInsensitiveCompare(u8("\u00E9"), u8("E\u0301")), 0);
    EXPECT_EQ(sortedLocalized(
                  {"cherry", "Banana", "apple", u8("\u00C9clair"), "Apple", "eclair", "item 10", "item 9"}),
              (std::vector<QString>{"apple", "Apple", "Banana", "cherry", "eclair", u8("\u00C9clair"),
                                    "item 10", "item 9"}));
}

TEST(TextOrdering, PosixLocaleStillOrdersCaseInsensitively) {
    const icu::Locale previous = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US_POSIX"), status);
    int comparedCase = 1;
    int comparedLetters = 1;
    // A fresh thread builds its collator from the locale in force now.
    std::thread([&] {
        comparedCase = Text::localizedCaseInsensitiveCompare("a", "A");
        comparedLetters = Text::localizedCaseInsensitiveCompare("a", "B");
    }).join();
    icu::Locale::setDefault(previous, status);
    EXPECT_EQ(comparedCase, 0);
    EXPECT_LT(comparedLetters, 0);
}

} // namespace
} // namespace lumeno
