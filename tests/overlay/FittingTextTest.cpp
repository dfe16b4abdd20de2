#include "overlay/FittingText.h"

#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace lumeno {
namespace {

const QString sentence = QStringLiteral("Thanks for the notes from Tuesday, I will send the revised plan tomorrow");

std::unique_ptr<FittingText> make(const QString& text, int lines, int maxWidth, QFont::Weight weight = QFont::Normal,
                                  Qt::TextElideMode truncation = Qt::ElideRight) {
    auto view = std::make_unique<FittingText>(FittingText::Style{13, weight, lines, maxWidth, truncation, false});
    view->setText(text);
    return view;
}

TEST(FittingTextTest, OneLineNeverWrapsAndIsCutWhereItsTruncationSays) {
    auto tail = make(sentence, 1, 120);
    EXPECT_FALSE(tail->wraps());
    ASSERT_EQ(tail->shownLines().size(), 1);
    EXPECT_TRUE(tail->shownLines()[0].endsWith(QStringLiteral("…")));
    EXPECT_TRUE(tail->shownLines()[0].startsWith("Thanks"));
    EXPECT_LE(tail->sizeHint().width(), 120);

    // Head truncation keeps the newest words of a live transcript in view->
    auto head = make(sentence, 1, 120, QFont::Normal, Qt::ElideLeft);
    EXPECT_TRUE(head->shownLines()[0].startsWith(QStringLiteral("…")));
    EXPECT_TRUE(head->shownLines()[0].endsWith("tomorrow"));
}

TEST(FittingTextTest, WrapsOnlyWhenWiderThanItsMaximumByAtLeastOnePoint) {
    const int natural = int(FittingText::naturalWidth(sentence, 13));
    auto exact = make(sentence, 2, natural);
    EXPECT_FALSE(exact->wraps());
    EXPECT_EQ(exact->shownLines(), QStringList{sentence});

    auto over = make(sentence, 2, natural - 1);
    EXPECT_TRUE(over->wraps());
    EXPECT_EQ(over->sizeHint().width(), natural - 1);
    EXPECT_EQ(over->shownLines().size(), 2);
}

TEST(FittingTextTest, WrappedTextIsAsTallAsItsLinesAndCutAfterTheLast) {
    const int lineSpacing = int(QFontMetricsF(TypeScale::font(13)).lineSpacing());
    auto two = make(sentence, 2, 200);
    ASSERT_EQ(two->shownLines().size(), 2);
    EXPECT_TRUE(two->shownLines()[1].endsWith(QStringLiteral("…")));
    auto one = make("Short", 2, 200);
    EXPECT_EQ(one->sizeHint().height(), int(std::ceil(QFontMetricsF(TypeScale::font(13)).height())));
    EXPECT_GE(two->sizeHint().height() - one->sizeHint().height(), lineSpacing - 1);
    // A line break of the text's own starts a new line.
    EXPECT_EQ(make("Hi Anna,\n" + sentence, 3, 200)->shownLines().front(), QStringLiteral("Hi Anna,"));

    auto four = make(sentence, 4, 200);
    EXPECT_EQ(four->shownLines().size(), 3); // it needs only three
    EXPECT_FALSE(four->shownLines().join(' ').contains(QStringLiteral("…")));
}

TEST(FittingTextTest, AHeavierTextThatFitsInRegularWeightStaysOnOneLineAndMayBeCut) {
    const QString title = QStringLiteral("Couldn't reach the drafting server");
    const int regular = int(FittingText::naturalWidth(title, 13));
    auto bold = make(title, 2, regular, QFont::Bold);
    EXPECT_FALSE(bold->wraps());
    EXPECT_EQ(bold->shownLines().size(), 1);
    EXPECT_TRUE(bold->shownLines()[0].endsWith(QStringLiteral("…")));
}

TEST(FittingTextTest, ASingleLineShowsEachLineBreakAsOneSpace) {
    auto view = make("Hi Anna,\nsee you", 1, 300);
    EXPECT_EQ(view->shownLines(), QStringList{"Hi Anna, see you"});
    view->setText("Hi Anna,\r\n\r\nThursday at 3 works.  \n\nBest,\nMo");
    EXPECT_EQ(view->shownLines(), QStringList{"Hi Anna, Thursday at 3 works. Best, Mo"});
}

TEST(FittingTextTest, AMinimumWidthHoldsForShortTexts) {
    auto view = make("Hi", 1, 340);
    view->setMinimumWidth(96);
    EXPECT_EQ(view->sizeHint().width(), 96);
}

} // namespace
} // namespace lumeno
