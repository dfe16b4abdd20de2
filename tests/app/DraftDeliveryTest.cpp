// What each outcome of a paste means for the user: placed, or waiting with the note the overlay shows.
#include "app/DraftDelivery.h"

#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

using Outcome = FieldInserter::Outcome;
using Reason = FieldInserter::PendingReason;
using Meaning = DraftDelivery::Result (*)(const Outcome&, const QString&);

struct Case {
    const char* name;
    Meaning meaning;
    Outcome outcome;
    std::optional<QString> note; // none with `placed`
    bool placed = false;
};

const QString unconfirmedReply = QStringLiteral("If the reply isn't in the field, click it and press Insert.");

class DraftDeliveryMeaning : public ::testing::TestWithParam<Case> {};

TEST_P(DraftDeliveryMeaning, SaysWhetherTheDraftIsInAndWhatToDoIfNot) {
    const Case& c = GetParam();
    const DraftDelivery::Result result = c.meaning(c.outcome, QStringLiteral("Right Alt"));
    EXPECT_EQ(result.placed, c.placed);
    EXPECT_EQ(result.note, c.note);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DraftDeliveryMeaning,
    ::testing::Values(
        Case{"ReplyIn", &DraftDelivery::ofReply, Outcome::inserted(true), std::nullopt, true},
        Case{"ReplyUnread", &DraftDelivery::ofReply, Outcome::inserted(false), unconfirmedReply},
        Case{"ReplyRefused", &DraftDelivery::ofReply, Outcome::refused(QStringLiteral("No.")), QStringLiteral("No.")},
        Case{"ReplyFailed", &DraftDelivery::ofReply, Outcome::failed(QStringLiteral("Broke.")), QStringLiteral("Broke.")},
        Case{"ReplyNoField", &DraftDelivery::ofReply, Outcome::needsTarget(Reason::noField), std::nullopt},
        Case{"ReplyUnconfirmed", &DraftDelivery::ofReply, Outcome::needsTarget(Reason::unconfirmed), unconfirmedReply},
        Case{"ReplySelection", &DraftDelivery::ofReply, Outcome::needsTarget(Reason::selectionInTheWay),
             QStringLiteral("Draft ready. Click where the reply goes so your selection stays, then tap Right Alt.")},
        Case{"EditIn", &DraftDelivery::ofEdit, Outcome::inserted(true), std::nullopt, true},
        Case{"EditUnread", &DraftDelivery::ofEdit, Outcome::inserted(false),
             QStringLiteral("If the edit isn't in the field, click it and press Insert.")},
        Case{"EditRefused", &DraftDelivery::ofEdit, Outcome::refused(QStringLiteral("No.")), QStringLiteral("No.")},
        Case{"EditMoved", &DraftDelivery::ofEdit, Outcome::needsTarget(Reason::noField),
             QStringLiteral("Edit ready. Select the text it replaces, then tap Right Alt.")},
        Case{"PendingIn", &DraftDelivery::ofPending, Outcome::inserted(true), std::nullopt, true},
        Case{"PendingUnread", &DraftDelivery::ofPending, Outcome::inserted(false), unconfirmedReply},
        Case{"PendingFailed", &DraftDelivery::ofPending, Outcome::failed(QStringLiteral("Broke.")), QStringLiteral("Broke.")},
        Case{"PendingNoField", &DraftDelivery::ofPending, Outcome::needsTarget(Reason::noField),
             QStringLiteral("Click into a text field first, then tap Right Alt.")}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lumeno
