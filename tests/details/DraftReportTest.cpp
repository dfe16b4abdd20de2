#include "DetailsTestSupport.h"

#include "details/RecordDateFormat.h"

#include <QLocale>

#include <cstdlib>
#include <ctime>

namespace lumeno {
namespace {

using testing::bareRecord;
using testing::fullRecord;
using testing::utc;

DraftDetails::Conversation found(qint64 messages, qint64 characters, qint64 redactions, bool sent) {
    DraftDetails::Conversation conversation;
    conversation.note = "unused while found";
    conversation.messages = messages;
    conversation.characters = characters;
    conversation.redactions = redactions;
    conversation.sent = sent;
    return conversation;
}

QString header(const DraftDetails& details, const char* word) {
    return QStringLiteral("Lumeno %1 · %2").arg(word, RecordDateFormat::dateAndTime(details.date));
}

// --- The conversation summary --------------------------------------------------------------------------

TEST(ConversationSummaryTest, CountsFiguresAndTheSwitchedOffNote) {
    EXPECT_EQ(found(0, 1, 0, false).summary(), "Found: 1 characters · switched off, not sent");
    EXPECT_EQ(found(1, 40, 1, true).summary(), "Found: about 1 message · 40 characters · 1 secret removed");
    EXPECT_EQ(found(1, 40, 3, true).summary(), "Found: about 1 message · 40 characters · 3 secrets removed");
    EXPECT_EQ(found(-2, 12000, 0, true).summary(), "Found: 12000 characters");

    DraftDetails::Conversation everything = found(4, 950, 0, true);
    everything.source = "read from the screen";
    everything.truncated = true;
    EXPECT_EQ(everything.summary(),
              "Found: about 4 messages · 950 characters · read from the screen · trimmed to the part nearest "
              "your reply");
}

TEST(ConversationSummaryTest, EveryOtherStatusIsItsNoteWhateverTheFigures) {
    using Status = DraftDetails::Conversation::Status;
    for (Status status : {Status::tooLittle, Status::off, Status::skipped}) {
        DraftDetails::Conversation conversation = found(3, 500, 2, false);
        conversation.status = status;
        conversation.note = "Context is switched off";
        EXPECT_EQ(conversation.summary(), "Context is switched off");
    }
}

// --- The plain-text report -----------------------------------------------------------------------------

TEST(DraftReportTest, ABareRecordIsItsHeaderAlone) {
    const DraftDetails details = bareRecord();
    EXPECT_EQ(details.report(), header(details, "draft"));
    EXPECT_FALSE(details.report().endsWith('\n'));
}

TEST(DraftReportTest, AnUndoneEditStartsWithOutcomeThenTheEditBlock) {
    DraftDetails details = bareRecord(DraftDetails::Kind::edit);
    details.outcome = "Replaced, then undone";
    details.edit = DraftDetails::Edit{EditRequest::Scope::selection, "make it friendlier", "Send it now."};
    EXPECT_EQ(details.report(), header(details, "edit") +
                                    "\nOutcome: Replaced, then undone\n\nEDIT (selected text)\n"
                                    "Instruction: make it friendlier\nText changed:\nSend it now.");
    details.edit->scope = EditRequest::Scope::wholeField;
    EXPECT_TRUE(details.report().contains("\nEDIT (whole message)\n"));
}

TEST(DraftReportTest, AFullReplyReadsInSectionOrder) {
    const DraftDetails details = fullRecord();
    const QString expected = header(details, "draft") + QStringLiteral(R"(
Outcome: Inserted

WHERE
App: Mail (org.example.mail), Email
Field: AXTextArea, editable
Window title: Re: Quarterly numbers

CONVERSATION
Found: about 3 messages · 412 characters · read from the screen · 1 secret removed
Anna: Could you send the numbers by Friday?
Me: Sure.

RECIPIENT
Anna Novak · From the To field
Anna Novak
Works at Acme

STYLE
You: Sam Lee, signs as Sam
short, warm, casual
2 samples sent (1 learned, 1 pasted)
---
Thanks! Will do.
---
Sounds good to me.

SPEECH (on this computer, 1.2 s)
tell her I'll send them Thursday

DRAFT (gpt-test, 2.3 s)
I'll send them Thursday.
After layout:
Hi Anna,

I'll send them Thursday.

Best,
Sam
Line breaks: 5 sent, 5 in the field

SYSTEM PROMPT
You write replies.

USER PROMPT
Reply to Anna.)");
    EXPECT_EQ(details.report(), expected);
}

TEST(DraftReportTest, MissingPiecesFallBackOrDisappear) {
    DraftDetails details = bareRecord();
    details.field = DraftDetails::Field{"Notes", std::nullopt, Surface::other, std::nullopt, "editable"};
    details.recipient = DraftDetails::Recipient{std::nullopt, "From the window title", std::nullopt};
    details.style = DraftDetails::Style{"normal length", {}, 0, 0};
    details.signName = "Sam"; // without a user name, no "You:" line
    details.lineBreaks = "3 sent"; // without a result, not shown
    details.dictation = "say thanks";
    const QString report = details.report();
    EXPECT_TRUE(report.contains("\nApp: Notes (?), Other app (no greeting or sign-off rules)\n"));
    EXPECT_TRUE(report.contains("\nField: none, editable\n"));
    EXPECT_TRUE(report.contains("\nRECIPIENT\nFrom the window title\n"));
    EXPECT_TRUE(report.contains("\nSTYLE\nnormal length\n0 samples sent (0 learned, 0 pasted)\n"));
    EXPECT_FALSE(report.contains("---"));
    EXPECT_FALSE(report.contains("You:"));
    EXPECT_FALSE(report.contains("Line breaks"));
    EXPECT_TRUE(report.endsWith("\n\nSPEECH\nsay thanks"));
}

TEST(DraftReportTest, SecondsUseOneDecimalAndAPointInEveryLocale) {
    DraftDetails details = fullRecord();
    details.result->seconds = 12.345;
    details.result->finalText = details.result->modelText;
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString report = details.report();
    QLocale::setDefault(previous);
    EXPECT_TRUE(report.contains("\nDRAFT (gpt-test, 12.3 s)\n"));
    EXPECT_FALSE(report.contains("After layout:"));
}

TEST(RecordDateFormatTest, FollowsTheLocaleInLocalTime) {
    const QByteArray previousZone = qgetenv("TZ");
    qputenv("TZ", "America/New_York");
    tzset();
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDateTime date = utc(2026, 3, 2, 14, 5, 9);
    const QString full = RecordDateFormat::dateAndTime(date);
    const QString time = RecordDateFormat::shortTime(date);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = RecordDateFormat::dateAndTime(date);
    QLocale::setDefault(previous);
    qputenv("TZ", previousZone);
    tzset();
    // ICU puts a narrow no-break space before AM/PM in recent data.
    EXPECT_EQ(QString(full).replace(QChar(0x202F), ' '), "Mar 2, 2026, 9:05:09 AM");
    EXPECT_EQ(QString(time).replace(QChar(0x202F), ' '), "9:05 AM");
    EXPECT_EQ(german, "02.03.2026, 09:05:09");
}

} // namespace
} // namespace lumeno
