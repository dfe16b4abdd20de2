#include "screen/EditTarget.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

// The range must point at the text in the field: the inserter selects exactly it before pasting the edit.
void expectOwnPart(const QString& field, const QString& own) {
    const std::optional<EditTarget> target = EditTarget::whole(field);
    ASSERT_TRUE(target) << field.toStdString();
    EXPECT_EQ(target->text, own);
    EXPECT_EQ(field.mid(target->range.start, target->range.length), own);
}

TEST(EditTargetTest, TheUsersPartEndsAtAQuotedReplyOrASignature) {
    expectOwnPart(QStringLiteral("  Friday works.\nSee you!\n\nOn Tue, 3 Mar 2026, Ana <ana@example.com> wrote:\n> Lunch?"),
                  QStringLiteral("Friday works.\nSee you!"));
    expectOwnPart(QStringLiteral("Thanks, noted.\n-- \nBob Smith\nAcme"), QStringLiteral("Thanks, noted."));
    expectOwnPart(QStringLiteral("Done.\n\nSent from my iPhone"), QStringLiteral("Done."));
    expectOwnPart(QStringLiteral("Yes.\n> Can you come?\n> Ana"), QStringLiteral("Yes."));
    expectOwnPart(QStringLiteral("OK\n\n-----Original Message-----\nFrom: Ana"), QStringLiteral("OK"));
    expectOwnPart(QStringLiteral("\n\n  Just one line  \n"), QStringLiteral("Just one line"));
}

TEST(EditTargetTest, RangesCountUtf16UnitsPastEmoji) {
    const QString field = QStringLiteral("🎉🎉 Congrats!\n\nOn Mon, Ana wrote:\n> We won 🏆");
    const std::optional<EditTarget> target = EditTarget::whole(field);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->range, (TextRange{0, 14}));
    EXPECT_EQ(target->text, QStringLiteral("🎉🎉 Congrats!"));
}

TEST(EditTargetTest, NothingOfTheUsersOwnGivesNone) {
    EXPECT_EQ(EditTarget::whole(QString()), std::nullopt);
    EXPECT_EQ(EditTarget::whole(QStringLiteral(" \n\t ")), std::nullopt);
    EXPECT_EQ(EditTarget::whole(QStringLiteral("\n\nOn Tue, Ana wrote:\n> Lunch?")), std::nullopt);
    EXPECT_EQ(EditTarget::whole(QStringLiteral("--\nBob")), std::nullopt);
}

TEST(EditTargetTest, QuoteStartSkipsTheSignatureButFindsTheQuote) {
    const QString field = QStringLiteral("Yes!\n-- \nBob\n\nOn Tue, Ana wrote:\n> Lunch?");
    EXPECT_EQ(EditTarget::quoteStart(field), field.indexOf(QStringLiteral("On Tue")));
    EXPECT_EQ(EditTarget::quoteStart(QStringLiteral("No quote here.\n-- \nBob")), std::nullopt);
}

} // namespace
} // namespace lumeno
