#include "drafting/DraftCleaner.h"

#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

const DraftCleaner::Names names{QStringLiteral("Maya Lindqvist"), QStringLiteral("Jonas Weber")};

QString cleaned(const char* modelText, const DraftCleaner::Names& with = names) {
    return DraftCleaner::cleaned(QString::fromUtf8(modelText), with);
}

TEST(DraftCleanerTest, TakesAwayTheWrappersModelsPutAroundADraft) {
    EXPECT_EQ(cleaned("Here's a friendly reply to Jonas:\n\nThursday works for me. See you at 10!"),
              "Thursday works for me. See you at 10!");
    EXPECT_EQ(cleaned("Sure! Here is the rewritten text:\n\"Could we move the call to Friday?\""),
              "Could we move the call to Friday?");
    EXPECT_EQ(cleaned("“Sounds great, count me in.”"), "Sounds great, count me in.");
    EXPECT_EQ(cleaned("```\nHi Jonas,\n\nThanks for the files.\n```"), "Hi Jonas,\n\nThanks for the files.");
    EXPECT_EQ(cleaned("Here's a draft:\n```text\nNo problem, I'll send it tonight.\n```\nLet me know if you'd like any changes!"),
              "No problem, I'll send it tonight.");
    EXPECT_EQ(cleaned("Reply:\nYes, 3 pm is fine."), "Yes, 3 pm is fine.");
    EXPECT_EQ(cleaned("Subject: Re: Q3 budget\n\nHi Jonas,\n\nThe numbers look right to me."),
              "Hi Jonas,\n\nThe numbers look right to me.");
    EXPECT_EQ(cleaned("Betreff: Termin\n\nHallo Jonas,\n\nDonnerstag passt mir."), "Hallo Jonas,\n\nDonnerstag passt mir.");
}

TEST(DraftCleanerTest, DropsCommentaryAfterTheDraftButNotTheUsersOwnClosingWords) {
    EXPECT_EQ(cleaned("Thanks, I'll review it tomorrow morning.\n\nFeel free to adjust the wording as needed."),
              "Thanks, I'll review it tomorrow morning.");
    EXPECT_EQ(cleaned("Sure, here's a short reply.\nOn my way, ten minutes."), "On my way, ten minutes.");
    EXPECT_EQ(cleaned("Happy to help with the launch.\n\n---\nI kept it short since the thread is casual."),
              "Happy to help with the launch.");
    EXPECT_EQ(cleaned("Count me in for Saturday.\n\n(Note: I assumed you meant this Saturday.)"),
              "Count me in for Saturday.");
    EXPECT_EQ(cleaned("Sounds good.\n\nI've kept the tone friendly.\n\nWould you like me to make it more formal?"),
              "Sounds good.");
    // Closing lines the user could well have meant stay.
    EXPECT_EQ(cleaned("Attached is the revised plan.\n\nLet me know if you have any questions."),
              "Attached is the revised plan.\n\nLet me know if you have any questions.");
    EXPECT_EQ(cleaned("Here is the report you asked for: revenue is up 4%."),
              "Here is the report you asked for: revenue is up 4%.");
}

// A chat draft has no sign-off to shield its last paragraph, so closing words that merely sound like a
// model talking to the user must survive: they are what the user dictated.
TEST(DraftCleanerTest, ChatMessagesKeepClosingWordsThatResembleCommentary) {
    for (const char* closing : {"I've added you to the shared folder.", "I tried the new build and it crashes.",
                                "Would you like me to bring anything?", "Do you want me to pick you up at 7?",
                                "Shall I book the table?", "Let me know if you need a hand!",
                                "You can add me to the invite.", "Feel free to change the time if it doesn't suit you."}) {
        const QString draft = QStringLiteral("Sounds great, count me in.\n\n") + QString::fromUtf8(closing);
        EXPECT_EQ(DraftCleaner::cleaned(draft, names), draft) << closing;
    }
    // Opening lines that merely resemble an announcement stay too.
    EXPECT_EQ(cleaned("This is a quick note to say thanks for Friday.\nThe slides were great."),
              "This is a quick note to say thanks for Friday.\nThe slides were great.");
    EXPECT_EQ(cleaned("Re: the invoice, it was paid today.\nRe: the contract, signing tomorrow."),
              "Re: the invoice, it was paid today.\nRe: the contract, signing tomorrow.");
    EXPECT_EQ(cleaned("Re: Q3 budget\n\nHi Jonas,\n\nThe numbers look right."), "Hi Jonas,\n\nThe numbers look right.");
}

TEST(DraftCleanerTest, QuotesThatBelongToTheMessageStay) {
    EXPECT_EQ(cleaned("\"Soon\" is not a date. Can you give me one?"), "\"Soon\" is not a date. Can you give me one?");
    EXPECT_EQ(cleaned("'I'll be there' she said, and she was."), "'I'll be there' she said, and she was.");
    EXPECT_EQ(cleaned("'I'll check and get back to you.'"), "I'll check and get back to you.");
}

TEST(DraftCleanerTest, FillsNamePlaceholdersFromWhoWritesAndWhoReads) {
    EXPECT_EQ(cleaned("Hi [Recipient's Name],\n\nSee you Monday.\n\nBest,\n[Your Name]"),
              "Hi Jonas,\n\nSee you Monday.\n\nBest,\nMaya Lindqvist");
    // A bare [Name] is the recipient in the greeting and the writer under the sign-off.
    EXPECT_EQ(cleaned("Dear [Name],\n\nThank you for your patience.\n\nKind regards,\n[Name]"),
              "Dear Jonas,\n\nThank you for your patience.\n\nKind regards,\nMaya Lindqvist");
    // Without a name to put in, the placeholder goes and the greeting still reads well.
    EXPECT_EQ(cleaned("Hi [Name],\n\nAll set.", {QString(), QString()}), "Hi,\n\nAll set.");
}

TEST(DraftCleanerTest, NeverLeavesNothingAndTidiesWhitespace) {
    EXPECT_EQ(cleaned("Here's a reply:"), "Here's a reply:");
    EXPECT_EQ(cleaned("\r\n  Yes, Friday.  \r\n\r\n\r\n\r\nSee you!  \r\n"), "Yes, Friday.\n\nSee you!");
    EXPECT_EQ(cleaned("**Yes**, Friday works."), "Yes, Friday works.");
}

// Models that loop on white space answer like this; each run of spaces is gone through once.
TEST(DraftCleanerTest, LongRunsOfSpacesInsideALineAreTidiedLikeShortOnes) {
    const QString spaces(20'000, u' ');
    EXPECT_EQ(DraftCleaner::cleaned(QStringLiteral("Hi") + spaces + QStringLiteral("x  \nSee you!\t"), names),
              QStringLiteral("Hi") + spaces + QStringLiteral("x\nSee you!"));
    EXPECT_EQ(DraftCleaner::cleaned(QStringLiteral("Hi [Name]") + spaces + QStringLiteral("x ,\nSee you!"), names),
              QStringLiteral("Hi Jonas") + spaces + QStringLiteral("x,\nSee you!"));
    EXPECT_EQ(DraftCleaner::cleaned(QStringLiteral("```\nHi") + spaces + QStringLiteral("x\n```"), names),
              QStringLiteral("Hi") + spaces + QStringLiteral("x"));
    EXPECT_EQ(DraftCleaner::cleaned(QStringLiteral("Here it is:\n```\nHi") + spaces + QStringLiteral("x"), names),
              QStringLiteral("Here it is:\n```\nHi") + spaces + QStringLiteral("x"))
        << "a fence that never closes is no fence";
}

} // namespace
} // namespace lumeno
