#include "drafting/StyleEngine.h"

#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(StyleEngineTest, LearnedExamplesNewestFirstThenPastedSamples) {
    StyleProfile profile;
    profile.learnedExamples = {QStringLiteral("oldest"), QStringLiteral("middle"), QStringLiteral("newest")};
    profile.samples = QStringLiteral("Hi Tom,\n\nFirst pasted.\n---\n\n  \n---\nSecond pasted.\n  -----  \nThird");
    EXPECT_EQ(StyleEngine::chosenSamples(profile),
              (QStringList{"newest", "middle", "oldest", "Hi Tom,\n\nFirst pasted.", "Second pasted.", "Third"}));
    EXPECT_EQ(profile.knobsSummary(), QStringLiteral("Length Normal · Tone Auto · Formality Auto"));
}

TEST(StyleEngineTest, SamplesAreBoundedInCountAndLength) {
    StyleProfile profile;
    for (int i = 1; i <= 10; ++i)
        profile.learnedExamples.append(QStringLiteral("Example %1").arg(i));
    QStringList chosen = StyleEngine::chosenSamples(profile);
    ASSERT_EQ(chosen.size(), StyleEngine::maxSamples);
    EXPECT_EQ(chosen.front(), QStringLiteral("Example 10"));

    profile.learnedExamples = {QStringLiteral("word ").repeated(400)};
    profile.samples = QStringLiteral("pasted ").repeated(1000);
    chosen = StyleEngine::chosenSamples(profile);
    int total = 0;
    for (const QString& sample : chosen) {
        EXPECT_LE(sample.size(), StyleEngine::maxSampleCharacters);
        EXPECT_TRUE(sample.endsWith(QStringLiteral("word…")) || sample.endsWith(QStringLiteral("pasted…")));
        total += int(sample.size());
    }
    EXPECT_LE(total, StyleEngine::maxTotalCharacters);
}

TEST(StyleEngineTest, ShortenedCutsAtAWordUnlessTheWordIsHuge) {
    EXPECT_EQ(StyleEngine::shortened(QStringLiteral("short enough"), 20), QStringLiteral("short enough"));
    EXPECT_EQ(StyleEngine::shortened(QStringLiteral("one two three four five"), 12), QStringLiteral("one two…"));
    EXPECT_EQ(StyleEngine::shortened(QStringLiteral("x").repeated(50), 10), QStringLiteral("xxxxxxxxx…"));
}

} // namespace
} // namespace lumeno
