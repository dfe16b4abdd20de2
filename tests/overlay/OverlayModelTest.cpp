#include "overlay/OverlayModel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>


namespace lumeno {
namespace {

TEST(OverlayModelTest, ResetClearsTheDictationButKeepsPhaseHotkeyDetailsButtonAndCallbacks) {
    const OverlayModel fresh;
    EXPECT_EQ(fresh.phase(), OverlayPhase::hidden);
    EXPECT_EQ(fresh.hotkeyName(), QStringLiteral("Right Alt"));
    EXPECT_TRUE(fresh.contextEnabled());

    OverlayModel model;
    int cancels = 0;
    QObject::connect(&model, &OverlayModel::cancelRequested, [&] { ++cancels; });
    model.setPhase(OverlayPhase::message);
    model.setHotkeyName("Right Super");
    model.setShowsDetailsButton(true);
    model.setMessage(OverlayMessage{OverlayMessage::Kind::error, "No microphone", std::nullopt, std::nullopt});
    model.setLevel(0.7f);
    model.setTranscript("see you then");
    model.setHandsFree(true);
    model.setContextBadge(QStringLiteral("Conversation"));
    model.setContextEnabled(false);
    model.setPersonBadge(QStringLiteral("Anna"));
    model.setPersonChoices({{QUuid::createUuid(), "Anna"}});
    model.setPendingDraft(QStringLiteral("Hi Anna"));
    model.setPendingNote(QStringLiteral("Select the message field first."));
    model.setInsertedNote(QStringLiteral("Edited."));
    const SaveOffer offer = SaveOffer::pin("Door code is at reception", std::nullopt, std::nullopt);
    model.setOffers({offer});
    model.setSavedOffers({offer.id});
    model.setIsEditing(true);
    model.setEditTarget(QStringLiteral("Selection"));
    model.setEditedOriginal("Old text");

    QSignalSpy messageChanges(&model, &OverlayModel::messageChanged);
    QSignalSpy phaseChanges(&model, &OverlayModel::phaseChanged);
    model.reset();
    EXPECT_EQ(messageChanges.count(), 1);
    EXPECT_EQ(phaseChanges.count(), 0);
    EXPECT_EQ(model.phase(), OverlayPhase::message);
    EXPECT_EQ(model.hotkeyName(), "Right Super");
    EXPECT_TRUE(model.showsDetailsButton());
    model.cancel();
    EXPECT_EQ(cancels, 1);

    EXPECT_EQ(model.message(), fresh.message());
    EXPECT_EQ(model.level(), fresh.level());
    EXPECT_EQ(model.transcript(), fresh.transcript());
    EXPECT_EQ(model.handsFree(), fresh.handsFree());
    EXPECT_EQ(model.contextBadge(), fresh.contextBadge());
    EXPECT_EQ(model.contextEnabled(), fresh.contextEnabled());
    EXPECT_EQ(model.personBadge(), fresh.personBadge());
    EXPECT_TRUE(model.personChoices().empty());
    EXPECT_EQ(model.pendingDraft(), fresh.pendingDraft());
    EXPECT_EQ(model.pendingNote(), fresh.pendingNote());
    EXPECT_EQ(model.insertedNote(), fresh.insertedNote());
    EXPECT_TRUE(model.offers().empty());
    EXPECT_EQ(model.savedOffers(), fresh.savedOffers());
    EXPECT_EQ(model.isEditing(), fresh.isEditing());
    EXPECT_EQ(model.editTarget(), fresh.editTarget());
    EXPECT_EQ(model.editedOriginal(), fresh.editedOriginal());
}

TEST(OverlayModelTest, WritingAnEqualValueIsSilentAndADifferentOneIsHeardOnce) {
    OverlayModel model;
    const OverlayMessage message{OverlayMessage::Kind::notice, "Lumeno is back on", QStringLiteral("Hold Right Alt to reply."),
                                 OverlayAction::openSettings(SettingsTab::general)};
    int changes = 0;
    QObject::connect(&model, &OverlayModel::messageChanged, [&] { ++changes; });
    model.setMessage(message);
    model.setMessage(OverlayMessage(message));
    EXPECT_EQ(changes, 1);

    // Any one field, the action's payload included, makes it another message.
    OverlayMessage otherTab = message;
    otherTab.action = OverlayAction::openSettings(SettingsTab::account);
    model.setMessage(otherTab);
    EXPECT_EQ(changes, 2);

    int savedChanges = 0;
    QObject::connect(&model, &OverlayModel::savedOffersChanged, [&] { ++savedChanges; });
    const QUuid a = QUuid::createUuid(), b = QUuid::createUuid();
    model.setSavedOffers({a, b});
    model.setSavedOffers({b, a});
    EXPECT_EQ(savedChanges, 1);
}

} // namespace
} // namespace lumeno
