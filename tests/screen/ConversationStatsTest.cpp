#include "screen/ConversationStats.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(ConversationStatsTest, QuotedReplyRecognisesHeaderLinesOfQuotedAndForwardedMail) {
    for (const char* line : {
             "On Tue, 3 Mar 2026 at 10:12, Ana Novak <ana.novak@example.com> wrote:",
             "On Mar 3, 2026, at 10:12 AM, Ana Novak wrote:",
             "> On Monday, Bob wrote:",
             "ana.novak@example.com> wrote:", // the second half of a wrapped attribution
             "Am 03.03.2026 um 10:12 schrieb Ana Novak <ana@example.com>:",
             "Le mar. 3 mars 2026 à 10:12, Ana Novak a écrit :",
             "El mar, 3 mar 2026 a las 10:12, Ana Novak escribió:",
             "V tor., 3. mar. 2026 ob 10:12 je Ana Novak <ana@example.com> napisal(a):",
             "-----Original Message-----",
             "---------- Forwarded message ---------",
             "-----Ursprüngliche Nachricht-----",
             "Begin forwarded message:",
             "________________________________",
             "From: Ana Novak <ana.novak@example.com>",
             "Od: Ana Novak <ana.novak@example.com>",
         })
        EXPECT_TRUE(ConversationStats::quotedReply().matchesAnywhere(QString::fromUtf8(line))) << line;
}

TEST(ConversationStatsTest, QuotedReplyLeavesOrdinaryLinesAlone) {
    for (const char* line : {
             "I wrote the summary yesterday: it's in the shared folder.",
             "From the team, thanks for everything!",
             "From: the marketing team",
             "Ana wrote a great proposal",
             "-- ",
             "Let's meet on Tuesday at 10:12.",
         })
        EXPECT_FALSE(ConversationStats::quotedReply().matchesAnywhere(QString::fromUtf8(line))) << line;
}

TEST(ConversationStatsTest, QuotedReplyFindsTheHeaderInsideAWholeText) {
    const QString body = QStringLiteral("Sounds good.\n\nOn Tue, Ana wrote:\n> Lunch?");
    const std::optional<RegexMatch> match = ConversationStats::quotedReply().firstMatch(body);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->captured(body), QStringLiteral("On Tue, Ana wrote:"));
}

TEST(ConversationStatsTest, TimestampPatternsMatchAsTheSystemWritesThem) {
    for (const char* line : {"10:02 AM", "9.41", "Mar 3, 2026, 9:41 AM", "3 March", "03/03/2026", "5 minutes ago",
                             "2 uri nazaj", "Yesterday", "včeraj"})
        EXPECT_TRUE(ConversationStats::isTimestampLine(QString::fromUtf8(line))) << line;
    for (const char* line : {"version 1.10.2", "room 12:345", "Thanks, Ana", "24:00"})
        EXPECT_FALSE(ConversationStats::isTimestampLine(QString::fromUtf8(line))) << line;
}

TEST(ConversationStatsTest, EstimatedMessagesCountsOneMessagePerHeaderBlock) {
    const QString chat = QStringLiteral("Ana Novak\n10:02 AM\nMorning!\nBob Smith\n10:05 AM\nNot yet.\n"
                                        "Ana Novak\n10:06 AM\nGreat.");
    EXPECT_EQ(ConversationStats::estimatedMessages(chat), 3);

    // Outlook's block: the From line and the Sent line under it are one message's header.
    const QString mail = QStringLiteral("Thanks!\n\nFrom: Ana Novak <ana@example.com>\nSent: Tuesday, 3 March 2026 "
                                        "10:12\nSubject: Lunch\n\nLunch on Friday?\n\nOn Mon, 2 Mar 2026 at 09:00, "
                                        "Bob <bob@example.com> wrote:\n> Are you around this week?");
    EXPECT_EQ(ConversationStats::estimatedMessages(mail), 2);

    // A long line that mentions a time is message text, not a header.
    const QString prose = QStringLiteral("Can we move the call from 10:00 to 11:30 because the quarterly planning "
                                         "review with the whole team runs long this week?");
    EXPECT_EQ(ConversationStats::estimatedMessages(prose), 0);
    EXPECT_EQ(ConversationStats::estimatedMessages(QString()), 0);
}

} // namespace
} // namespace lumeno
