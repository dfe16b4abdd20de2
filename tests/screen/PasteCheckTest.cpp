#include "screen/PasteCheck.h"
#include "screen/RichText.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(PasteCheckTest, ATextThatArrivedIsVerifiedWithTheLineBreaksThatCameWithIt) {
    const QString pasted = QStringLiteral("Thanks!\nSee you\nBob");
    EXPECT_EQ(PasteCheck::evaluate(QStringLiteral("Hi Ana, "), QStringLiteral("Hi Ana, Thanks!\nSee you\nBob"), pasted),
              (PasteCheck{true, 2}));
    // Editors that make paragraphs of lines write other separators.
    EXPECT_EQ(PasteCheck::evaluate(QString(), QStringLiteral("Thanks!\r\nSee you\u2029Bob"), pasted),
              (PasteCheck{true, 2}));
    EXPECT_EQ(PasteCheck::evaluate(QString(), QStringLiteral("Thanks! See you Bob"), pasted), (PasteCheck{true, 0}));
}

TEST(PasteCheckTest, InsertingNextToTheSameTextStillCountsTheRightLineBreaks) {
    // "ab" with "b\na" pasted between its letters: the changed part is found shifted, with the same breaks.
    EXPECT_EQ(PasteCheck::evaluate(QStringLiteral("ab"), QStringLiteral("ab\nab"), QStringLiteral("b\na")),
              (PasteCheck{true, 1}));
}

TEST(PasteCheckTest, AnUnchangedOrUnreadableFieldIsNotVerified) {
    const QString field = QStringLiteral("Already says Hello");
    EXPECT_EQ(PasteCheck::evaluate(field, field, QStringLiteral("Hello")), (PasteCheck{false, 0}));
    EXPECT_EQ(PasteCheck::evaluate(field, std::nullopt, QStringLiteral("Hello")), (PasteCheck{false, std::nullopt}));
    EXPECT_EQ(PasteCheck::evaluate(std::nullopt, QStringLiteral("Hi"), QStringLiteral("Hello")),
              (PasteCheck{false, std::nullopt}));
    EXPECT_EQ(PasteCheck::evaluate(QString(), QStringLiteral("x"), QStringLiteral(" \n ")), (PasteCheck{false, 0}));
}

TEST(PasteCheckTest, TextThatWasThereBeforeMustArriveOnceMore) {
    const QString pasted = QStringLiteral("See you then.\nAda");
    const QString letter = QStringLiteral("Friday, Bo.\nSee you then.\nAda");
    // The field changed elsewhere, and what was pasted had been there all along.
    EXPECT_FALSE(PasteCheck::evaluate(letter, QStringLiteral("Friday then, Bo.\nSee you then.\nAda"), pasted).verified);
    EXPECT_EQ(PasteCheck::evaluate(letter, letter + QStringLiteral(" See you then.\nAda"), pasted), (PasteCheck{true, 1}));
    // A rewrite pasted over the selection that held it (a list made shorter) counts once it is all there.
    const QString list = QStringLiteral("Groceries: milk, eggs");
    const QString shorter = QStringLiteral("Groceries: milk");
    EXPECT_TRUE(PasteCheck::evaluate(list, shorter, shorter, QString()).verified);
    EXPECT_FALSE(PasteCheck::evaluate(list, shorter, shorter).verified) << "counted against what was replaced";
}

TEST(PasteCheckTest, LineBreaksCountEachKindOnce) {
    EXPECT_EQ(PasteCheck::lineBreaks(QStringLiteral("a\r\nb\nc\rd\u2029e")), 4);
    EXPECT_EQ(PasteCheck::lineBreaks(QStringLiteral("no breaks")), 0);
}

TEST(RichTextTest, HtmlMakesABlockOfEveryLineAndEscapesMarkup) {
    EXPECT_EQ(RichText::html(QStringLiteral("Hi <Ana> & co,\r\n\nBob")),
              QStringLiteral("<meta charset=\"utf-8\"><div>Hi &lt;Ana&gt; &amp; co,</div><div><br></div><div>Bob</div>"));
    // A single line is no block: pasted inside a paragraph, it stays there.
    EXPECT_EQ(RichText::html(QStringLiteral("Thursday & more")), QStringLiteral("<meta charset=\"utf-8\">Thursday &amp; more"));
}

TEST(RichTextTest, RtfEscapesItsOwnSyntaxAndSpellsOutNonAsciiUnits) {
    const QByteArray rtf = RichText::rtf(QStringLiteral("a{b}\\c\tč 😀\nnext"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(rtf.endsWith("a\\{b\\}\\\\c\\tab \\u269? \\u-10179?\\u-8704?\\par\nnext}")) << rtf.constData();
}

} // namespace
} // namespace lumeno
