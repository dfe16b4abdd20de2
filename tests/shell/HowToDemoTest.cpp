#include "shell/DemoBubble.h"
#include "shell/DemoFrame.h"
#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(HowToDemoTest, BeforeTheKeyGoesDownNothingListensAndTheFieldHoldsItsOldText) {
    for (bool edit : {false, true}) {
        const DemoFrame frame = DemoFrame::at(0.5, edit);
        EXPECT_FALSE(frame.listening);
        EXPECT_EQ(frame.bubbleOpacity, 0);
        EXPECT_EQ(frame.field, edit ? "Yes, Thursday at 3 works." : "");
    }
    // A page start in the future: the opening state, not a frame from the end of the loop.
    const DemoFrame early = DemoFrame::at(-2.0, false);
    EXPECT_EQ(early.bubbleOpacity, 0);
    EXPECT_EQ(early.field, "");
}

TEST(HowToDemoTest, ListeningShowsThePlaceholderThenTheWordsAsTheyAreHeard) {
    const DemoFrame opening = DemoFrame::at(0.9, false);
    EXPECT_TRUE(opening.listening);
    EXPECT_EQ(opening.words, "");
    EXPECT_GT(opening.bubbleOpacity, 0);
    EXPECT_EQ(opening.field, "");

    EXPECT_EQ(DemoFrame::at(2.0, false).words, "say yes, Thur");
    EXPECT_EQ(DemoFrame::at(2.85, false).words, "say yes, Thursday works");
    EXPECT_EQ(DemoFrame::at(1.0, false).bubbleOpacity, 1);
}

TEST(HowToDemoTest, TheDraftReplacesTheFieldOnlyAfterTheBusyPhase) {
    const DemoFrame busy = DemoFrame::at(3.2, true);
    EXPECT_TRUE(busy.drafting);
    EXPECT_FALSE(busy.listening);
    EXPECT_EQ(busy.words, "make it warmer");

    EXPECT_EQ(DemoFrame::at(3.5, false).field, "");
    EXPECT_EQ(DemoFrame::at(3.5, true).field, "Yes, Thursday at 3 works.");
    const QString typing = DemoFrame::at(3.55, true).field;
    EXPECT_TRUE(QStringLiteral("Yes! Thursday at 3 works great. Can’t wait.").startsWith(typing));
    EXPECT_LT(typing.size(), 6) << "the old text goes at once and the new one types from nothing";

    EXPECT_EQ(DemoFrame::at(5.0, true).field, "Yes! Thursday at 3 works great. Can’t wait.");
    EXPECT_EQ(DemoFrame::at(6.1, false).field, "Yes, Thursday at 3 works.");
    EXPECT_EQ(DemoFrame::at(6.3, false).field, "") << "the loop starts over";
    EXPECT_EQ(DemoFrame::at(6.3, true).field, "Yes, Thursday at 3 works.");
}

TEST(HowToDemoTest, TheBubbleFadesOutAsTheDraftStartsTyping) {
    EXPECT_EQ(DemoFrame::at(3.45, false).bubbleOpacity, 1);
    const double leaving = DemoFrame::at(3.55, false).bubbleOpacity;
    EXPECT_GT(leaving, 0);
    EXPECT_LT(leaving, 1);
    EXPECT_EQ(DemoFrame::at(3.7, false).bubbleOpacity, 0);
}

TEST(HowToDemoTest, TheCaretBlinksEveryHalfSecond) {
    EXPECT_TRUE(DemoFrame::at(0.2, false).caretOn);
    EXPECT_FALSE(DemoFrame::at(0.7, false).caretOn);
    EXPECT_TRUE(DemoFrame::at(1.2, false).caretOn);
}

TEST(HowToDemoTest, PrefixesCountWholeCharactersRoundingHalvesUp) {
    EXPECT_EQ(DemoFrame::prefix("abcd", 0.375), "ab"); // 1.5 characters round away from zero
    EXPECT_EQ(DemoFrame::prefix("a👍🏽b", 0.5), "a👍🏽") << "an emoji with its skin tone is one character";
    EXPECT_EQ(DemoFrame::prefix("abc", 1.0), "abc");
    EXPECT_EQ(DemoFrame::prefix("abc", 0.0), "");
}

TEST(HowToDemoTest, MeterBarsSwingWithinTheirWeightedRange) {
    double middleHighest = 0, outerHighest = 0, lowest = 100;
    for (double t = 0; t < 3; t += 0.01) {
        middleHighest = std::max(middleHighest, DemoBubble::barHeight(2, t));
        outerHighest = std::max(outerHighest, DemoBubble::barHeight(0, t));
        lowest = std::min(lowest, DemoBubble::barHeight(0, t));
    }
    EXPECT_NEAR(middleHighest, 15, 0.01);
    EXPECT_NEAR(outerHighest, 9, 0.01);
    EXPECT_NEAR(lowest, 0.35 * 6 + 3, 0.01);
    EXPECT_NE(DemoBubble::barHeight(1, 1.0), DemoBubble::barHeight(1, 1.05)) << "the meter moves";
}

} // namespace
} // namespace lumeno
