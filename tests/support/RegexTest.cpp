#include "support/Regex.h"

#include "support/Log.h"

#include <gtest/gtest.h>
#include <thread>

namespace lumeno {
namespace {

Regex regex(const char* pattern) {
    auto compiled = Regex::compile(QString::fromUtf8(pattern));
    EXPECT_TRUE(compiled.has_value()) << pattern;
    return compiled ? *compiled : Regex::fixed("(?!)");
}

std::vector<TextRange> ranges(const std::vector<RegexMatch>& matches) {
    std::vector<TextRange> result;
    for (const auto& match : matches)
        result.push_back(match.range());
    return result;
}

bool matches(const char* pattern, const QString& text) {
    return regex(pattern).matchesAnywhere(text);
}

// The system's patterns are written for ICU; these are the places where other engines answer differently.
TEST(RegexUnicode, ShorthandClassesCoverAllOfUnicode) {
    EXPECT_TRUE(matches("^a\\sb$", QString::fromUtf8("a\u00A0b")));          // no-break space
    EXPECT_TRUE(matches("^a\\sb$", QString::fromUtf8("a\u3000b")));          // ideographic space
    EXPECT_TRUE(matches("^a\\sb$", QString::fromUtf8("a\u2028b")));          // line separator
    EXPECT_TRUE(matches("^\\d+$", QString::fromUtf8("\u0661\u0662\u0663"))); // Arabic-Indic digits
    EXPECT_TRUE(matches("^\\w+$", QString::fromUtf8("na\u00EFve")));
    EXPECT_FALSE(matches("^\\w+$", "two words"));
}

TEST(RegexUnicode, WordBoundariesSeeAccentedLetters) {
    EXPECT_TRUE(matches("\\bna\u00EFve\\b", QString::fromUtf8("a na\u00EFve idea")));
    EXPECT_FALSE(matches("\\b\u00E9", QString::fromUtf8("caf\u00E9"))); // é continues the word
    EXPECT_FALSE(matches("\\bcaf\\b", QString::fromUtf8("caf\u00E9")));
    EXPECT_TRUE(matches("\\b\u0436\\w+", QString::fromUtf8("\u043D\u0430 \u0436\u0443\u043A"))); // Cyrillic
}

TEST(RegexUnicode, DotStopsAtEveryLineTerminator) {
    for (const char* terminator : {"\r", "\n", "\u2028", "\u2029", "\u0085"})
        EXPECT_FALSE(matches("a.b", QString::fromUtf8("a") + QString::fromUtf8(terminator) + "b"))
            << terminator;
    EXPECT_TRUE(matches("(?s)a.b", "a\rb"));
    EXPECT_TRUE(matches("a.b", QString::fromUtf8("a\u00A0b")));
}

TEST(RegexUnicode, AnchorsKnowCarriageReturnAndLineSeparator) {
    EXPECT_TRUE(matches("end$", "the end\r"));
    EXPECT_TRUE(matches("end$", QString::fromUtf8("the end\u2028")));
    EXPECT_FALSE(matches("end$", "the end\r\nmore"));
    EXPECT_TRUE(matches("(?m)^second", "first\rsecond"));
    EXPECT_TRUE(matches("(?m)^second", QString::fromUtf8("first\u2028second")));
    EXPECT_TRUE(matches("(?m)first$", "first\rsecond"));
}

TEST(RegexUnicode, CaseInsensitiveClassesAreClosedOverCase) {
    EXPECT_TRUE(matches("(?i)[\\p{Lu}]", "h"));
    EXPECT_FALSE(matches("[\\p{Lu}]", "h"));
    EXPECT_TRUE(matches("(?i)^\u00C9t\u00E9$", QString::fromUtf8("\u00E9T\u00C9")));
    EXPECT_TRUE(
        matches("(?i)^\u03A3\u039F\u03A6\u0399\u0391$", QString::fromUtf8("\u03C3\u03BF\u03C6\u03B9\u03B1")));
}

TEST(RegexGroups, GroupsThatDidNotTakePartAreAbsent) {
    const QString text = "b";
    const auto match = regex("(a)|(b)").firstMatch(text);
    ASSERT_TRUE(match.has_value());
    ASSERT_EQ(match->groups.size(), 3u);
    EXPECT_EQ(match->group(1), std::nullopt);
    EXPECT_EQ(match->group(2), (TextRange{0, 1}));
    EXPECT_EQ(match->captured(text, 1), QString());
    EXPECT_EQ(match->captured(text, 2), "b");
    EXPECT_EQ(match->group(3), std::nullopt);
    EXPECT_EQ(match->group(-1), std::nullopt);

    const auto optional = regex("(x)?(y)(z?)").firstMatch("wy");
    ASSERT_TRUE(optional.has_value());
    EXPECT_EQ(optional->group(1), std::nullopt);
    // A group that took part but matched nothing is present and empty, unlike one that did not take part.
    EXPECT_EQ(optional->group(3), (TextRange{2, 0}));
}

TEST(RegexGroups, NamedGroupsAreNumberedInOrder) {
    const QString text = "Due 2024-03-09";
    const auto match = regex("(?<year>\\d{4})-(?<month>\\d\\d)").firstMatch(text);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->captured(text, 1), "2024");
    EXPECT_EQ(match->captured(text, 2), "03");
    EXPECT_EQ(match->captured(text), "2024-03");
}

TEST(RegexPositions, CountUtf16UnitsOfTheSearchedString) {
    // Emoji with skin tone (4 units), e + combining acute (2 units), a flag (4 units), then the match.
    const QString text = QString::fromUtf8("\U0001F44D\U0001F3FD e\u0301 \U0001F1EB\U0001F1F7 cat");
    const auto match = regex("c(a)t").firstMatch(text);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->range(), (TextRange{text.indexOf("cat"), 3}));
    EXPECT_EQ(match->range().start, 13);
    EXPECT_EQ(match->group(1), (TextRange{14, 1}));
    EXPECT_EQ(match->captured(text, 1), "a");

    const auto emoji = regex("\\p{Emoji_Presentation}").firstMatch(text);
    ASSERT_TRUE(emoji.has_value());
    EXPECT_EQ(emoji->range(), (TextRange{0, 2})); // one code point, two UTF-16 units
}

TEST(RegexMatching, AllMatchesAreNonOverlappingAndInOrder) {
    EXPECT_EQ(ranges(regex("aa").allMatches("aaaaa")), (std::vector<TextRange>{{0, 2}, {2, 2}}));
    EXPECT_EQ(regex("\\d+").count("1 22 333"), 3);
    EXPECT_EQ(regex("x").count("none here"), 0);
    EXPECT_TRUE(regex("x").allMatches(QString()).empty());
}

TEST(RegexMatching, EmptyMatchesAdvanceByWholeCodePoints) {
    EXPECT_EQ(ranges(regex("a*").allMatches("baa")), (std::vector<TextRange>{{0, 0}, {1, 2}, {3, 0}}));
    // Never between the two halves of a surrogate pair.
    EXPECT_EQ(ranges(regex("").allMatches(QString::fromUtf8("\U0001F600x"))),
              (std::vector<TextRange>{{0, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(ranges(regex("").allMatches(QString())), (std::vector<TextRange>{{0, 0}}));
}

TEST(RegexMatching, LongTextsDoNotRunOutOfBacktrackingRoom) {
    // Each repetition of the alternation keeps a backtracking frame; a megabyte of them is far past ICU's
    // default limit, which would otherwise report a plain "no match".
    const QString text = QString("ab").repeated(500'000);
    const auto match = regex("^(?:a|b)*$").firstMatch(text);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->range().length, text.size());
}

// A pattern whose work doubles with every character would hold the thread for ages; its search stops at
// the budget instead, finds nothing, and says so.
TEST(RegexMatching, ARunawaySearchStopsAtItsBudgetAndSaysSo) {
    auto sink = std::make_shared<CapturingLogSink>();
    const auto previous = Log::setSink(sink);
    const Regex runaway = regex("(x+x+)+y");
    const QString text = QString(60, u'x');
    EXPECT_FALSE(runaway.firstMatch(text).has_value());
    EXPECT_TRUE(runaway.allMatches(text).empty());
    EXPECT_FALSE(runaway.completeMatches(text).has_value());
    EXPECT_EQ(runaway.replaceAll(text, "z"), text);
    EXPECT_EQ(runaway.completeMatches(text + "y")->size(), 1u) << "a search that finishes is complete";
    Log::setSink(previous);
    ASSERT_EQ(sink->entries().size(), 4u);
    EXPECT_EQ(sink->entries().front().line,
              "A text pattern ran out of time on 60 characters and stopped: (x+x+)+y");
}

TEST(RegexMatching, SearchWithinARangeTreatsItsBoundsAsTheText) {
    const QString text = "xab yab";
    const auto anchored = regex("^ab").firstMatch(text, TextRange{1, 2});
    ASSERT_TRUE(anchored.has_value());
    EXPECT_EQ(anchored->range(), (TextRange{1, 2}));
    EXPECT_FALSE(regex("(?<=x)ab").firstMatch(text, TextRange{1, 2}).has_value());
    EXPECT_FALSE(regex("ab(?= )").firstMatch(text, TextRange{1, 2}).has_value());
    EXPECT_TRUE(regex("\\bab\\b").firstMatch(text, TextRange{1, 2}).has_value());
    EXPECT_EQ(regex("ab").firstMatch(text, TextRange{3, 4})->range(), (TextRange{5, 2}));
    EXPECT_FALSE(regex("ab").firstMatch(text, TextRange{3, 2}).has_value());
    EXPECT_FALSE(regex("ab").firstMatch(text, TextRange{5, 9}).has_value()); // beyond the text
    EXPECT_FALSE(regex("ab").firstMatch(text, TextRange{-1, 3}).has_value());
}

TEST(RegexReplace, ReplacesEveryMatchWithGroupReferences) {
    const Regex address = regex("(\\w+)@(\\w+)");
    EXPECT_EQ(address.replaceAll("ana@home, bo@work", "$2:$1"), "home:ana, work:bo");
    EXPECT_EQ(address.replaceAll("ana@home", "\\$1"), "$1");
    EXPECT_EQ(regex("(?<user>\\w+)@").replaceAll("ana@home", "${user} at "), "ana at home");
    EXPECT_EQ(regex("\\s+").replaceAll(QString::fromUtf8("\U0001F600  a\u00A0\u00A0b"), " "),
              QString::fromUtf8("\U0001F600 a b"));
    EXPECT_EQ(regex("x").replaceAll("abc", "y"), "abc");
}

TEST(RegexReplace, TemplateNamingAMissingGroupLeavesTextUnchanged) {
    EXPECT_EQ(regex("(a)").replaceAll("banana", "$2"), "banana");
}

TEST(RegexCompile, ReportsWhyAPatternDoesNotCompile) {
    QString error;
    EXPECT_FALSE(Regex::compile("(unclosed", &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(Regex::compile("[z-a]").has_value());
    EXPECT_FALSE(Regex::compile("\\p{NoSuchProperty}").has_value());

    error.clear();
    const auto valid = Regex::compile("ok", &error);
    ASSERT_TRUE(valid.has_value());
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(valid->pattern(), "ok");
}

TEST(RegexCompileDeathTest, ABuiltInPatternThatDoesNotCompileAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Regex::fixed("(unclosed"), "does not compile");
}

TEST(RegexThreads, ConcurrentSearchesOnOnePatternAgree) {
    static const Regex word = Regex::fixed("\\b(\\w)(\\w*)\\b");
    const QString text = QString::fromUtf8("alpha \u00E9t\u00E9 gamma \U0001F600 delta ").repeated(50);
    const auto expected = ranges(word.allMatches(text));
    ASSERT_EQ(expected.size(), 200u);

    std::vector<int> agreeing(4, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < agreeing.size(); ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                agreeing[t] += ranges(word.allMatches(text)) == expected ? 1 : 0;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(agreeing, std::vector<int>(4, 50));
}

} // namespace
} // namespace lumeno
