#include "overlay/OverlayModel.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lumeno {
namespace {

// Listens to every change signal of the model.
class AllChanges {
public:
    explicit AllChanges(OverlayModel& model) {
        const QMetaObject* meta = model.metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
            if (meta->method(i).methodType() == QMetaMethod::Signal)
                spies_.push_back(std::make_unique<QSignalSpy>(&model, QByteArray("2") + meta->method(i).methodSignature()));
    }
    int count() const {
        int total = 0;
        for (const auto& spy : spies_)
            total += int(spy->count());
        return total;
    }
    size_t signalCount() const { return spies_.size(); }

private:
    std::vector<std::unique_ptr<QSignalSpy>> spies_;
};

TEST(OverlayModelTest, StartsHiddenWithTheDefaultHotkeyNameAndContextOn) {
    OverlayModel model;
    EXPECT_EQ(model.phase(), OverlayPhase::hidden);
    EXPECT_EQ(model.hotkeyName(), QStringLiteral("Right Alt"));
    EXPECT_TRUE(model.contextEnabled());
    EXPECT_FALSE(model.showsDetailsButton());
    EXPECT_FALSE(model.message().has_value());
}

TEST(OverlayModelTest, ResettingAFreshModelTellsNobodyAnything) {
    OverlayModel model;
    AllChanges changes(model);
    ASSERT_EQ(changes.signalCount(), 19u);
    model.reset();
    EXPECT_EQ(changes.count(), 0);
}

TEST(OverlayModelTest, ResetClearsTheDictationButKeepsPhaseHotkeyDetailsButtonAndCallbacks) {
    OverlayModel model;
    int cancels = 0;
    model.onCancel = [&] { ++cancels; };
    model.setPhase(OverlayPhase::message);
    model.setHotkeyName("Right Super");
    model.setShowsDetailsButton(true);
    model.setMessage(OverlayMessage{OverlayMessage::Kind::error, "No microphone", std::nullopt, std::nullopt});
    model.setLevel(0.7f);
    model.setTranscript("see you then");
    model.setContextEnabled(false);
    model.setPersonChoices({{QUuid::createUuid(), "Anna"}});
    const SaveOffer offer = SaveOffer::pin("Door code is at reception", std::nullopt, std::nullopt);
    model.setOffers({offer});
    model.setSavedOffers({offer.id});
    model.setEditedOriginal("Old text");

    int messageChanges = 0, phaseChanges = 0;
    QObject::connect(&model, &OverlayModel::messageChanged, [&] { ++messageChanges; });
    QObject::connect(&model, &OverlayModel::phaseChanged, [&] { ++phaseChanges; });
    model.reset();

    EXPECT_FALSE(model.message().has_value());
    EXPECT_EQ(messageChanges, 1);
    EXPECT_EQ(model.phase(), OverlayPhase::message);
    EXPECT_EQ(phaseChanges, 0);
    EXPECT_EQ(model.hotkeyName(), "Right Super");
    EXPECT_TRUE(model.showsDetailsButton());
    EXPECT_EQ(model.level(), 0.0f);
    EXPECT_TRUE(model.transcript().isEmpty());
    EXPECT_TRUE(model.contextEnabled());
    EXPECT_TRUE(model.personChoices().empty());
    EXPECT_TRUE(model.offers().empty());
    EXPECT_TRUE(model.savedOffers().isEmpty());
    EXPECT_FALSE(model.editedOriginal().has_value());
    model.onCancel();
    EXPECT_EQ(cancels, 1);
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
