#include "screen/TextCut.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace lumeno {
namespace {

QString numberedLines(int count) {
    QStringList lines;
    for (int number = 1; number <= count; ++number)
        lines.push_back(QStringLiteral("line %1 of the text").arg(number, 3, 10, QLatin1Char('0')));
    return lines.join(QLatin1Char('\n'));
}

TEST(TextCutTest, ShortTextIsLeftAlone) {
    EXPECT_EQ(TextCut::withoutMiddle(QStringLiteral("short"), 5), QStringLiteral("short"));
    EXPECT_EQ(TextCut::around(QStringLiteral("short"), 2, 5), QStringLiteral("short"));
}

TEST(TextCutTest, TheMiddleGoesAndTheCutsFallOnLineBreaks) {
    const QString text = numberedLines(100); // 19 characters a line
    const QString cut = TextCut::withoutMiddle(text, 200);
    EXPECT_LE(cut.size(), 200);
    const QStringList parts = cut.split(TextCut::gapMarker());
    ASSERT_EQ(parts.size(), 2);
    EXPECT_TRUE(parts[0].startsWith(QStringLiteral("line 001")));
    EXPECT_TRUE(parts[0].endsWith(QStringLiteral(" of the text")));
    EXPECT_TRUE(parts[1].startsWith(QStringLiteral("line ")));
    EXPECT_TRUE(parts[1].endsWith(QStringLiteral("line 100 of the text")));
}

TEST(TextCutTest, AroundKeepsFourFifthsBeforeTheAnchorUnlessASideRunsOut) {
    const QString text = QString(1000, QLatin1Char('a')) + QString(1000, QLatin1Char('b'));
    const QString middle = TextCut::around(text, 1000, 100);
    EXPECT_EQ(middle, QString(80, QLatin1Char('a')) + QString(20, QLatin1Char('b')));
    EXPECT_EQ(TextCut::around(text, 1990, 100), QString(100, QLatin1Char('b')));
    EXPECT_EQ(TextCut::around(text, 5, 100), QString(100, QLatin1Char('a')));
    EXPECT_EQ(TextCut::around(text, 99999, 10), QString(10, QLatin1Char('b')));
}

TEST(TextCutTest, NoCutSplitsASurrogatePair) {
    const QString emoji = QStringLiteral("😀").repeated(500); // 1000 UTF-16 units, no line breaks
    for (qsizetype limit : {99, 100, 101}) {
        for (const QString& cut : {TextCut::withoutMiddle(emoji, limit), TextCut::around(emoji, 501, limit)}) {
            EXPECT_FALSE(cut.front().isLowSurrogate()) << limit;
            EXPECT_FALSE(cut.back().isHighSurrogate()) << limit;
            EXPECT_LE(cut.size(), limit);
        }
    }
}

} // namespace
} // namespace lumeno
