#pragma once

#include "details/DraftDetails.h"
#include "support/Clock.h"
#include "testsupport/QtPrinters.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace lumeno::testing {

inline QDateTime utc(int year, int month, int day, int hour, int minute, int second = 0, int millisecond = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, millisecond), Qt::UTC);
}

// A record with only its id, date and kind.
inline DraftDetails bareRecord(DraftDetails::Kind kind = DraftDetails::Kind::reply,
                               QDateTime date = utc(2026, 3, 2, 9, 0, 5)) {
    DraftDetails details;
    details.id = QUuid::createUuid();
    details.date = std::move(date);
    details.kind = kind;
    return details;
}

// A reply record with every part filled in, the way a finished dictation in a mail client leaves it.
inline DraftDetails fullRecord(QDateTime date = utc(2026, 3, 2, 9, 0, 5)) {
    DraftDetails details = bareRecord(DraftDetails::Kind::reply, std::move(date));
    details.field = DraftDetails::Field{"Mail", "org.example.mail", Surface::email, "AXTextArea", "editable",
                                        "Re: Quarterly numbers", std::nullopt, 14};
    DraftDetails::Conversation conversation;
    conversation.note = "Read the thread around the field";
    conversation.source = "read from the screen";
    conversation.characters = 412;
    conversation.messages = 3;
    conversation.redactions = 1;
    conversation.readMilliseconds = 37;
    conversation.elements = 58;
    conversation.levels = 4;
    conversation.text = "Anna: Could you send the numbers by Friday?\nMe: Sure.";
    conversation.sent = true;
    details.conversation = conversation;
    details.recipient = DraftDetails::Recipient{"Anna Novak", "From the To field", "Anna Novak\nWorks at Acme"};
    details.userName = "Sam Lee";
    details.signName = "Sam";
    details.style = DraftDetails::Style{"short, warm, casual", {"Thanks! Will do.", "Sounds good to me."}, 1, 1};
    details.speech = "on this computer, 1.2 s";
    details.dictation = "tell her I'll send them Thursday";
    details.result = DraftDetails::Result{"gpt-test", 2.26, "I'll send them Thursday.",
                                          "Hi Anna,\n\nI'll send them Thursday.\n\nBest,\nSam",
                                          "You write replies.", "Reply to Anna."};
    details.outcome = "Inserted";
    details.lineBreaks = "5 sent, 5 in the field";
    return details;
}

} // namespace lumeno::testing
