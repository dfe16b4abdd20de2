// The draft record as the recorder writes it from what the loop tells it: only while draft details are on,
// what each step adds, and the later fates of a committed record.
#include "LoopHarness.h"

#include "app/DraftRecorder.h"
#include "drafting/DraftInput.h"
#include "drafting/DraftResult.h"

namespace lumeno {
namespace {

using Addressed = MemoryDetector::Addressed;
using Breaks = FieldInserter::LineBreaks;
using Status = DraftDetails::Conversation::Status;

class DraftRecorderTest : public testing::LoopHarness {
protected:
    DraftRecorderTest() { app->settings.setShowsDraftDetails(true); }

    // Opens a record, lets `tell` fill it and commits it; returns what was stored.
    template <typename Tell> DraftDetails recorded(Tell tell) {
        recorder.open(DraftDetails::Kind::reply);
        tell();
        recorder.commit(QStringLiteral("Inserted"));
        return app->draftDetails.sessions().value(0);
    }

    DraftRecorder recorder{app->draftDetails, app->settings, clock};
};

TEST_F(DraftRecorderTest, RecordsOnlyWhileDraftDetailsAreOnAndAmendsOnlyTheLastCommittedRecord) {
    app->settings.setShowsDraftDetails(false);
    recorder.open(DraftDetails::Kind::reply);
    EXPECT_FALSE(recorder.isOpen());
    recorder.commit(QStringLiteral("Inserted"));
    EXPECT_TRUE(app->draftDetails.sessions().isEmpty());

    app->settings.setShowsDraftDetails(true);
    recorder.open(DraftDetails::Kind::reply);
    recorder.switchedToEdit();
    recorder.heard(QStringLiteral("say hi"), 1.44);
    recorder.drafted(DraftResult{QStringLiteral("Hi."), QStringLiteral("Hi"), {}, ProviderKind::anthropic, QStringLiteral("m"), 1});
    FocusSnapshot field;
    field.webURL = QStringLiteral("https://mail.example.com/inbox");
    recorder.readField(field, 12);
    recorder.commit(QStringLiteral("Waiting: no text field had focus"));
    EXPECT_FALSE(recorder.isOpen());
    ASSERT_EQ(app->draftDetails.sessions().size(), 1);
    const DraftDetails first = app->draftDetails.sessions().front();
    EXPECT_EQ(recorder.lastRecordID(), first.id);
    EXPECT_EQ(first.kind, DraftDetails::Kind::edit);
    EXPECT_EQ(first.speech, QStringLiteral("This computer, 1.4 s"));
    EXPECT_EQ(first.result->model, QStringLiteral("anthropic/m"));
    EXPECT_EQ(first.field->webHost, QStringLiteral("mail.example.com"));
    EXPECT_EQ(first.field->focusMilliseconds, 12);
    recorder.commit(QStringLiteral("Again")); // nothing open: nothing written
    recorder.open(DraftDetails::Kind::reply);
    recorder.discard();
    recorder.commit(QStringLiteral("Discarded"));
    EXPECT_EQ(app->draftDetails.sessions().size(), 1);
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Waiting: no text field had focus"));

    recorder.amendLastOutcome(QStringLiteral("Inserted after you picked the field"));
    recorder.amendLastLineBreaks(Breaks{1, 1, false});
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Inserted after you picked the field"));
    EXPECT_EQ(app->draftDetails.sessions().front().lineBreaks, QStringLiteral("1 of 1 arrived in the field"));

    // A retry continues the record under a new id, without what the failed try came to.
    recorder.reopenLast();
    ASSERT_TRUE(recorder.isOpen());
    recorder.commit(QStringLiteral("Inserted"));
    ASSERT_EQ(app->draftDetails.sessions().size(), 2);
    const DraftDetails again = app->draftDetails.sessions().front();
    EXPECT_NE(again.id, first.id);
    EXPECT_EQ(again.speech, first.speech);
    EXPECT_EQ(again.lineBreaks, std::nullopt);
    EXPECT_EQ(again.result, std::nullopt);

    app->settings.setShowsDraftDetails(false);
    recorder.amendLastOutcome(QStringLiteral("Dismissed without inserting"));
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Inserted"));
}

TEST_F(DraftRecorderTest, TheLineBreakCheckSaysWhatArrived) {
    EXPECT_EQ(DraftRecorder::lineBreaksSummary(std::nullopt), std::nullopt);
    EXPECT_EQ(DraftRecorder::lineBreaksSummary(Breaks{0, 0, false}), QStringLiteral("None in this text"));
    EXPECT_EQ(DraftRecorder::lineBreaksSummary(Breaks{1, std::nullopt, false}), QStringLiteral("1 sent; the app's text couldn't be read back to check"));
    EXPECT_EQ(DraftRecorder::lineBreaksSummary(Breaks{2, 0, true}),
              QStringLiteral("0 of 2 arrived in the field (pasted with an HTML copy for the web editor)"));
}

TEST_F(DraftRecorderTest, TheConversationSaysWhatWasFoundOrWhyNothingWas) {
    const PackedContext packed{PackedContext::Source::selection, QStringLiteral("Ana: lunch?"), 2, true, std::nullopt};
    const DraftDetails found = recorded([&] {
        recorder.readConversation(ConversationRead{ScreenReader::Conversation{QStringLiteral("x"), false, 7, 3, 0}, 40,
                                                   std::nullopt, std::nullopt},
                                  packed);
    });
    ASSERT_TRUE(found.conversation);
    EXPECT_EQ(found.conversation->status, Status::found);
    EXPECT_EQ(found.conversation->source, QStringLiteral("your selection"));
    EXPECT_EQ(found.conversation->characters, 11);
    EXPECT_EQ(found.conversation->redactions, 2);
    EXPECT_TRUE(found.conversation->truncated);
    EXPECT_EQ(found.conversation->readMilliseconds, 40);
    EXPECT_EQ(found.conversation->elements, 7);
    EXPECT_EQ(found.conversation->levels, 3);

    const DraftDetails off = recorded([&] {
        recorder.readConversation(ConversationRead{std::nullopt, std::nullopt, Status::off, QStringLiteral("Not read.")},
                                  std::nullopt);
        EXPECT_EQ(recorder.conversationNote(), QStringLiteral("Not read. Nothing copied recently either, so no thread was sent."));
    });
    EXPECT_EQ(off.conversation->status, Status::off);

    FocusSnapshot blank;
    blank.webURL = QStringLiteral("about:blank"); // an address without a host names none
    EXPECT_EQ(recorded([&] { recorder.readField(blank, 1); }).field->webHost, std::nullopt);

    const DraftDetails little = recorded([&] { recorder.readConversation(ConversationRead{}, std::nullopt); });
    EXPECT_EQ(little.conversation->status, Status::tooLittle);
    EXPECT_EQ(little.conversation->note, QStringLiteral("Read the screen but found less than 120 characters around the "
                                                        "field, so no thread was sent."));
}

TEST_F(DraftRecorderTest, TheRecipientSaysHowItWasFound) {
    const auto how = [&](std::optional<Addressed> addressed, std::optional<QString> matched,
                         std::optional<QString> partner, Surface surface) {
        const DraftDetails record = recorded([&] { recorder.foundRecipient(addressed, matched, partner, surface); });
        return std::pair(record.recipient->name, record.recipient->how);
    };
    const QString ana = QStringLiteral("Ana Novak");
    EXPECT_EQ(how(std::nullopt, ana, std::nullopt, Surface::chat),
              std::pair(std::optional(ana), QStringLiteral("Matched your Memory card for Ana Novak in the window title or thread")));
    EXPECT_EQ(how(std::nullopt, std::nullopt, ana, Surface::chat),
              std::pair(std::optional(ana), QStringLiteral("Chat partner from the window title; no Memory card for them")));
    EXPECT_EQ(how(std::nullopt, std::nullopt, std::nullopt, Surface::other).second,
              QStringLiteral("Not looked for: Lumeno doesn't know this app as email or chat"));
    EXPECT_EQ(how(std::nullopt, std::nullopt, std::nullopt, Surface::email).second,
              QStringLiteral("Not found in the window title, the thread or Memory"));
    EXPECT_EQ(how(Addressed{QStringLiteral("Ana"), std::nullopt, false, std::nullopt}, std::nullopt, std::nullopt,
                  Surface::email),
              std::pair(std::optional(QStringLiteral("Ana")), QStringLiteral("The last message is from Ana.")));
    EXPECT_EQ(how(Addressed{QStringLiteral("Ana"), std::nullopt, true, QStringLiteral("Bobby")}, ana, std::nullopt,
                  Surface::email),
              std::pair(std::optional(ana),
                        QStringLiteral("The last message is yours, so this follows up with Ana from the To field. You "
                                       "appear in the thread as Bobby. Memory card: Ana Novak.")));
}

TEST_F(DraftRecorderTest, TheInputSaysWhoWasPickedAndWhetherTheThreadWentAlong) {
    DraftInput input;
    input.intent = QStringLiteral("make it shorter");
    input.userName = QStringLiteral("Bob Stone");
    const PersonCard marko{QStringLiteral("Marko"), QString(), {}, {}};
    const auto built = [&](bool picked, bool matchedFirst) {
        return recorded([&] {
            recorder.readConversation(ConversationRead{}, PackedContext{});
            if (matchedFirst)
                recorder.foundRecipient(std::nullopt, QStringLiteral("Marko"), std::nullopt, Surface::chat);
            recorder.builtInput(input, picked, QStringLiteral("Bob"));
        });
    };
    const DraftDetails nobody = built(true, false);
    EXPECT_EQ(nobody.recipient->how, QStringLiteral("You chose No Person Card"));
    EXPECT_FALSE(nobody.conversation->sent) << "the context was switched off";
    EXPECT_EQ(nobody.signName, QStringLiteral("Bob"));
    EXPECT_EQ(nobody.userName, QStringLiteral("Bob Stone"));

    input.person = marko;
    input.context = PackedContext{};
    const DraftDetails picked = built(true, true);
    EXPECT_EQ(picked.recipient->how, QStringLiteral("Picked by you in the overlay"));
    EXPECT_EQ(picked.recipient->card, marko.rendered());
    EXPECT_TRUE(picked.conversation->sent);

    const DraftDetails matched = built(false, true);
    EXPECT_EQ(matched.recipient->how, QStringLiteral("Matched your Memory card for Marko in the window title or thread"));
    EXPECT_EQ(matched.recipient->card, marko.rendered());

    input.edit = EditRequest{QStringLiteral("long text"), EditRequest::Scope::wholeField, QString()};
    const DraftDetails edit = built(false, false);
    EXPECT_EQ(edit.kind, DraftDetails::Kind::edit);
    EXPECT_EQ(edit.edit, (DraftDetails::Edit{EditRequest::Scope::wholeField, input.intent, QStringLiteral("long text")}));
}

} // namespace
} // namespace lumeno
