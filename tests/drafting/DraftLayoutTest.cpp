#include "drafting/DraftLayout.h"

#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

const DraftLayout::Signature maya{QStringLiteral("Best,"), QStringLiteral("Maya"),
                                  {QStringLiteral("Maya Lindqvist"), QStringLiteral("Maya")}};

QString email(const char* text, const DraftLayout::Signature& signature = maya) {
    return DraftLayout::email(QString::fromUtf8(text), signature);
}

QString chat(const char* text) { return DraftLayout::chat(QString::fromUtf8(text), maya); }

TEST(DraftLayoutTest, EmailGetsGreetingLineParagraphsAndOneSignOff) {
    EXPECT_EQ(email("Hi Jonas, thanks for sending the contract over. I'll read it tonight.\nI'll get back to you "
                    "by Friday with comments."),
              "Hi Jonas,\n\nThanks for sending the contract over. I'll read it tonight.\n\nI'll get back to you by "
              "Friday with comments.\n\nBest,\nMaya");
    // Signed twice by the model: one signature remains, the user's own.
    EXPECT_EQ(email("Hi Jonas,\n\nSounds good.\n\nBest regards,\nMaya Lindqvist\n\nBest,\nMaya"),
              "Hi Jonas,\n\nSounds good.\n\nBest,\nMaya");
    // An English closing gives way to the user's sign-off; the name stands under it.
    EXPECT_EQ(email("Hello team,\n\nThe deploy is done.\n\nThanks, Maya"),
              "Hello team,\n\nThe deploy is done.\n\nBest,\nMaya");
    // No sign-off from the model: the user's is added.
    EXPECT_EQ(email("Hi Jonas,\n\nYes, Tuesday at 2 works."), "Hi Jonas,\n\nYes, Tuesday at 2 works.\n\nBest,\nMaya");
    // A name alone at the end is a signature too.
    EXPECT_EQ(email("Hi Jonas,\n\nYes, Tuesday at 2 works.\n\nMaya"), "Hi Jonas,\n\nYes, Tuesday at 2 works.\n\nBest,\nMaya");
}

TEST(DraftLayoutTest, EmailInAnotherLanguageKeepsItsOwnSignOff) {
    EXPECT_EQ(email("Hallo Jonas,\n\ndanke für die Unterlagen. Ich melde mich bis Freitag.\n\nViele Grüße\nMaya"),
              "Hallo Jonas,\n\ndanke für die Unterlagen. Ich melde mich bis Freitag.\n\nViele Grüße\nMaya");
    EXPECT_EQ(email("Bonjour Claire,\n\nMerci pour votre message.\n\nCordialement,\nMaya Lindqvist"),
              "Bonjour Claire,\n\nMerci pour votre message.\n\nCordialement,\nMaya");
}

TEST(DraftLayoutTest, EmailBodyLinesThatLookLikeClosingsStay) {
    // "Thanks for ..." is a sentence, not a sign-off; a list keeps its lines together.
    EXPECT_EQ(email("Hi Jonas,\n\nThanks for the quick turnaround.\n\nThree things:\n- the logo\n- the date\n- the "
                    "venue"),
              "Hi Jonas,\n\nThanks for the quick turnaround.\n\nThree things:\n- the logo\n- the date\n- the "
              "venue\n\nBest,\nMaya");
    // A message that is only "Thanks!" keeps it.
    EXPECT_EQ(email("Thanks!"), "Thanks!\n\nBest,\nMaya");
}

TEST(DraftLayoutTest, EmailWithoutSignOffOrNameSettingsKeepsWhatTheModelWrote) {
    const DraftLayout::Signature unnamed{QString(), QString(), {}};
    EXPECT_EQ(email("Hi Jonas,\n\nSee you there.\n\nCheers,\nMaya", unnamed), "Hi Jonas,\n\nSee you there.\n\nCheers,\nMaya");
    EXPECT_EQ(email("Hi Jonas,\n\nSee you there.", unnamed), "Hi Jonas,\n\nSee you there.");
}

TEST(DraftLayoutTest, ChatDropsEmailHabits) {
    EXPECT_EQ(chat("Hi Jonas,\n\nsure, 5 works for me!\n\nBest,\nMaya"), "sure, 5 works for me!");
    EXPECT_EQ(chat("Hey Jonas!\nSure, 5 works."), "Hey Jonas! Sure, 5 works.");
    EXPECT_EQ(chat("Sounds good.\n\nSee you at 5.\n\nThanks!"), "Sounds good.\nSee you at 5.\nThanks!");
    EXPECT_EQ(chat("Thanks!"), "Thanks!");
    EXPECT_EQ(chat("On it.\n\n— Maya"), "On it.");
}

TEST(DraftLayoutTest, ChatWithManyLinesBecomesOneParagraphUnlessItIsAList) {
    EXPECT_EQ(chat("Yes.\nI checked.\nIt's fixed.\nDeploying now.\nWill ping you."),
              "Yes. I checked. It's fixed. Deploying now. Will ping you.");
    EXPECT_EQ(chat("Options:\n- Mon\n- Tue\n- Wed\n- Thu"), "Options:\n- Mon\n- Tue\n- Wed\n- Thu");
}

TEST(DraftLayoutTest, PlainKeepsParagraphsAndOneSignature) {
    EXPECT_EQ(DraftLayout::plain(QStringLiteral("Hi Jonas,\n\nGreat to connect.\n\nBest,\nMaya\n\nBest regards,\nMaya"), maya),
              "Hi Jonas,\n\nGreat to connect.\n\nBest,\nMaya");
    EXPECT_EQ(DraftLayout::plain(QStringLiteral("Great to connect."), maya), "Great to connect.");
}

} // namespace
} // namespace lumeno
