#include "overlay/FittingText.h"
#include "overlay/InsertedRow.h"
#include "overlay/OverlayModel.h"
#include "overlay/OverlayTestSupport.h"
#include "overlay/OverlayView.h"
#include "testsupport/Screenshots.h"
#include "ui/ActionButton.h"
#include "ui/CapsuleButton.h"
#include "ui/CapsuleLabel.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"

#include <QBoxLayout>
#include <QTest>

namespace lumeno {
namespace {

using testing::allShown;
using testing::shown;

class RowsTest : public testing::OverlayTest {
protected:
    OverlayModel model;
    OverlayView view{model, animation};

    QString textOf(const QString& name) {
        auto* text = shown<FittingText>(view, name);
        return text ? text->text() : QStringLiteral("<not shown>");
    }
    // Laid out at its measured size, no two controls the user sees lie on top of each other.
    void expectNoOverlaps() {
        view.resize(view.measure());
        for (QWidget* parent : view.findChildren<QWidget*>())
            if (parent->layout())
                parent->layout()->activate(); // a row never shown waits for no layout request
        for (QWidget* parent : view.findChildren<QWidget*>()) {
            QList<QWidget*> seen;
            for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (child->isVisibleTo(&view))
                    seen << child;
            for (qsizetype i = 0; i < seen.size(); ++i)
                for (qsizetype j = i + 1; j < seen.size(); ++j)
                    EXPECT_FALSE(seen[i]->geometry().intersects(seen[j]->geometry()))
                        << seen[i]->metaObject()->className() << " " << seen[i]->objectName().toStdString() << " and "
                        << seen[j]->metaObject()->className() << " " << seen[j]->objectName().toStdString();
        }
    }
    void click(const QString& name) {
        QWidget* button = shown(view, name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        button->resize(button->sizeHint());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
};

TEST_F(RowsTest, HiddenAndAMessagelessMessagePhaseShowOnlyThePaddings) {
    EXPECT_EQ(view.sizeHint(), QSize(48, 48));
    model.setPhase(OverlayPhase::message);
    settle();
    EXPECT_EQ(view.sizeHint(), QSize(48, 48));
    EXPECT_EQ(shown(view, "closeButton"), nullptr);
}

TEST_F(RowsTest, ListeningHintSaysHowToFinishHandsFreeAndGivesWayToTheTranscript) {
    model.setPhase(OverlayPhase::listening);
    EXPECT_EQ(textOf("listeningText"), "Listening…");
    EXPECT_TRUE(shown<FittingText>(view, "listeningText")->style().secondary);

    model.setHandsFree(true);
    model.setHotkeyName("Right Super");
    EXPECT_EQ(textOf("listeningText"), "Listening… tap Right Super to finish");

    model.setIsEditing(true);
    EXPECT_EQ(textOf("listeningText"), "Say how to change it… tap Right Super to finish");
    EXPECT_NE(shown(view, "editTag"), nullptr);
    EXPECT_EQ(shown(view, "editTag")->toolTip(), "Edit mode: what you say changes the text in the field.");

    model.setTranscript("tell her thursday works");
    auto* text = shown<FittingText>(view, "listeningText");
    EXPECT_EQ(text->text(), "tell her thursday works");
    EXPECT_FALSE(text->style().secondary);
    EXPECT_EQ(text->style().truncation, Qt::ElideLeft);
    EXPECT_NE(shown(view, "levelBars"), nullptr);
    EXPECT_EQ(shown(view, "detailsButton"), nullptr);

    int cancels = 0;
    QObject::connect(&model, &OverlayModel::cancelRequested, [&] { ++cancels; });
    click("closeButton");
    EXPECT_EQ(cancels, 1);
}

TEST_F(RowsTest, DraftingTitlesFollowThePhaseAndTheTranscriptShowsInQuotes) {
    model.setIsEditing(true);
    model.setPhase(OverlayPhase::transcribing);
    EXPECT_EQ(textOf("draftingTitle"), "Got it…");
    EXPECT_EQ(shown(view, "draftingTranscript"), nullptr);
    model.setPhase(OverlayPhase::drafting);
    EXPECT_EQ(textOf("draftingTitle"), "Editing…");
    model.setIsEditing(false);
    model.setTranscript("say yes");
    EXPECT_EQ(textOf("draftingTitle"), "Drafting reply…");
    EXPECT_EQ(textOf("draftingTranscript"), "“say yes”");
    EXPECT_NE(shown(view, "spinner"), nullptr);
}

TEST_F(RowsTest, PendingCardExplainsWhereTheDraftGoesAndOffersInsertAndCopy) {
    int inserts = 0, copies = 0, details = 0;
    QObject::connect(&model, &OverlayModel::insertPendingRequested, [&] { ++inserts; });
    QObject::connect(&model, &OverlayModel::copyPendingRequested, [&] { ++copies; });
    QObject::connect(&model, &OverlayModel::detailsRequested, [&] { ++details; });
    model.setHotkeyName("Right Ctrl");
    model.setPendingDraft("Hi Anna,\n\nThursday works.");
    model.setPhase(OverlayPhase::pending);
    settle();
    EXPECT_EQ(textOf("pendingNote"), "Draft ready. Click into the reply box, then tap Right Ctrl.");
    EXPECT_EQ(textOf("pendingDraft"), "Hi Anna,\n\nThursday works.");
    EXPECT_EQ(shown(view, "detailsButton"), nullptr);
    EXPECT_EQ(view.sizeHint().width(), 440 + 48);

    // The longest notes, with a long application name in one, show whole: their last step is the one to do.
    const QStringList longest{
        QStringLiteral("Draft ready. Click where the reply goes so your selection stays, then tap Right Super."),
        QStringLiteral("Lumeno doesn't type into password fields. Click into the message, then press Insert."),
        QStringLiteral("LibreOffice Writer Document Editor is in front now, so Lumeno didn't paste there. Click where "
                       "the text goes, then press Insert.")};
    for (const QString& note : longest) {
        model.setPendingNote(note);
        const QStringList lines = shown<FittingText>(view, "pendingNote")->shownLines();
        EXPECT_EQ(lines.join(u' ').toStdString(), note.toStdString()) << lines.join(u'|').toStdString();
    }
    view.resize(view.measure());
    screenshots::save(screenshots::onDesktop(view), QStringLiteral("pending-card-long-note"));

    model.setPendingNote(QStringLiteral("Select the message field first."));
    model.setShowsDetailsButton(true);
    EXPECT_EQ(textOf("pendingNote"), "Select the message field first.");
    click("insertButton");
    click("copyButton");
    click("detailsButton");
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(details, 1);
}

TEST_F(RowsTest, APlainInsertHasNoCloseButtonAndGoesAwayByItself) {
    model.setPhase(OverlayPhase::inserted);
    EXPECT_EQ(textOf("insertedNote"), "Inserted. Review it, then press Send.");
    for (const char* absent : {"undoButton", "copyOriginalButton", "closeButton", "detailsButton", "offerChip"})
        EXPECT_EQ(shown(view, absent), nullptr) << absent;
    model.setShowsDetailsButton(true);
    EXPECT_NE(shown(view, "detailsButton"), nullptr);
}

TEST_F(RowsTest, AfterAnEditUndoAndCopyOriginalAppearWithACloseButton) {
    int undos = 0, copies = 0;
    QObject::connect(&model, &OverlayModel::undoEditRequested, [&] { ++undos; });
    QObject::connect(&model, &OverlayModel::copyOriginalRequested, [&] { ++copies; });
    model.setInsertedNote(QStringLiteral("Edited. Ctrl+Z undoes it."));
    model.setEditedOriginal(QStringLiteral("Yes, Thursday works."));
    model.setPhase(OverlayPhase::inserted);
    EXPECT_EQ(textOf("insertedNote"), "Edited. Ctrl+Z undoes it.");
    EXPECT_EQ(shown(view, "undoButton")->toolTip(), "Put the original text back (the same as Ctrl+Z in the app)");
    EXPECT_EQ(shown(view, "copyOriginalButton")->toolTip(), "Copy the text as it was before the edit");
    EXPECT_NE(shown(view, "closeButton"), nullptr);
    model.setShowsDetailsButton(true);
    expectNoOverlaps();
    click("undoButton");
    click("copyOriginalButton");
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(copies, 1);
}

TEST_F(RowsTest, TwoOffersSitSideBySideAndAThirdStacksThem) {
    std::vector<SaveOffer> offers = {SaveOffer::person("Anna Berg", QStringLiteral("anna@example.com")),
                                     SaveOffer::pin("Door code 4411", std::nullopt, std::nullopt)};
    model.setOffers(offers);
    model.setPhase(OverlayPhase::inserted);
    settle();
    QWidget* chips = shown(view, "offerChips");
    ASSERT_NE(chips, nullptr);
    EXPECT_EQ(qobject_cast<QBoxLayout*>(chips->layout())->direction(), QBoxLayout::LeftToRight);
    EXPECT_NE(shown(view, "closeButton"), nullptr);

    offers.push_back(SaveOffer::commitment("Send the contract", std::nullopt, std::nullopt));
    model.setOffers(offers);
    settle();
    chips = shown(view, "offerChips");
    EXPECT_EQ(qobject_cast<QBoxLayout*>(chips->layout())->direction(), QBoxLayout::TopToBottom);
    QStringList titles;
    for (auto* chip : allShown<CapsuleButton>(view, "offerChip"))
        titles << chip->text();
    EXPECT_EQ(titles, (QStringList{"Save Anna Berg as a person", "Pin “Door code 4411”", "Save “Send the contract”"}));
}

TEST_F(RowsTest, AChipSavesItsOfferOnceAndThenShowsItWasSaved) {
    const SaveOffer commitment = SaveOffer::commitment("Send the contract", std::nullopt, std::nullopt);
    const SaveOffer pin = SaveOffer::pin("Door code 4411", std::nullopt, std::nullopt);
    std::vector<SaveOffer> accepted;
    QObject::connect(&model, &OverlayModel::offerAccepted, [&](const SaveOffer& offer) {
        accepted.push_back(offer);
        QSet<QUuid> saved = model.savedOffers();
        saved.insert(offer.id);
        model.setSavedOffers(saved); // as the reply loop does
    });
    model.setOffers({commitment, pin});
    model.setPhase(OverlayPhase::inserted);

    auto chips = allShown<CapsuleButton>(view, "offerChip");
    ASSERT_EQ(chips.size(), 2);
    EXPECT_EQ(chips[0]->toolTip(), "Save to Memory. Ignore it and nothing is stored.");
    EXPECT_EQ(chips[0]->content().symbol, "checklist");
    chips[0]->resize(chips[0]->sizeHint());
    QTest::mouseClick(chips[0], Qt::LeftButton);
    settle();
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0], commitment);

    chips = allShown<CapsuleButton>(view, "offerChip");
    ASSERT_EQ(chips.size(), 2);
    EXPECT_EQ(chips[0]->text(), "Saved to Memory");
    EXPECT_EQ(chips[0]->content().symbol, "checkmark");
    EXPECT_EQ(chips[0]->content().style.foreground, Ink::fixed(Tint::green()));
    EXPECT_EQ(chips[0]->toolTip(), "Saved. Edit or delete it in Memory.");
    EXPECT_FALSE(chips[0]->isEnabled());
    EXPECT_TRUE(chips[1]->isEnabled());
    chips[0]->resize(chips[0]->sizeHint());
    QTest::mouseClick(chips[0], Qt::LeftButton);
    EXPECT_EQ(accepted.size(), 1u);
}

TEST_F(RowsTest, ChipTitlesAreCutFrom57Characters) {
    const QString fiftySix(56, QLatin1Char('a'));
    EXPECT_EQ(InsertedRow::chipTitle(fiftySix), fiftySix);
    const QString fiftySeven = fiftySix + "b";
    EXPECT_EQ(InsertedRow::chipTitle(fiftySeven), QString(54, QLatin1Char('a')) + QStringLiteral("…"));
    // Characters, not code units: a flag is one.
    const QString flags = QString(55, QLatin1Char('a')) + QStringLiteral("🇸🇪");
    EXPECT_EQ(InsertedRow::chipTitle(flags), flags);
}

TEST_F(RowsTest, AnErrorShowsTheOrangeTriangleItsDetailAndItsAction) {
    std::optional<OverlayAction> done;
    int cancels = 0;
    QObject::connect(&model, &OverlayModel::actionRequested, [&](const OverlayAction& action) { done = action; });
    QObject::connect(&model, &OverlayModel::cancelRequested, [&] { ++cancels; });
    model.setMessage(OverlayMessage{OverlayMessage::Kind::error, "Couldn't reach the server",
                                    QStringLiteral("Check your connection and try again."),
                                    OverlayAction::openSettings(SettingsTab::account)});
    model.setPhase(OverlayPhase::message);
    auto* icon = shown<SymbolView>(view, "messageIcon");
    EXPECT_EQ(icon->name(), "exclamationmark.triangle.fill");
    EXPECT_EQ(icon->ink(), Ink::fixed(Tint::orange()));
    EXPECT_EQ(textOf("messageTitle"), "Couldn't reach the server");
    EXPECT_EQ(textOf("messageDetail"), "Check your connection and try again.");
    EXPECT_EQ(shown<ActionButton>(view, "actionButton")->text(), "Open Settings…");
    click("actionButton");
    EXPECT_EQ(done, OverlayAction::openSettings(SettingsTab::account));
    click("closeButton");
    EXPECT_EQ(cancels, 1);
}

TEST_F(RowsTest, ANoticeWithoutDetailOrActionIsItsTitleAndTheCloseButton) {
    model.setMessage(OverlayMessage{OverlayMessage::Kind::notice, "Lumeno is paused", std::nullopt, std::nullopt});
    model.setPhase(OverlayPhase::message);
    auto* icon = shown<SymbolView>(view, "messageIcon");
    EXPECT_EQ(icon->name(), "info.circle.fill");
    EXPECT_EQ(icon->ink(), Ink::of(Hierarchy::secondary));
    EXPECT_EQ(shown(view, "messageDetail"), nullptr);
    EXPECT_EQ(shown(view, "actionButton"), nullptr);
    EXPECT_NE(shown(view, "closeButton"), nullptr);

    model.setShowsDetailsButton(true);
    EXPECT_NE(shown(view, "detailsButton"), nullptr);
}

TEST_F(RowsTest, EveryActionHasItsButtonTitle) {
    EXPECT_EQ(OverlayAction::openSettings(SettingsTab::style).buttonTitle(), "Open Settings…");
    EXPECT_EQ(OverlayAction::fixPermission(PermissionsGate::Permission::accessibility).buttonTitle(), "Fix…");
    EXPECT_EQ(OverlayAction::fixPermission(PermissionsGate::Permission::accessibility, true).buttonTitle(), "Turn On");
    EXPECT_EQ(OverlayAction::retry().buttonTitle(), "Try Again");
    EXPECT_EQ(OverlayAction::resume().buttonTitle(), "Resume");
    EXPECT_EQ(OverlayAction::signIn().buttonTitle(), "Sign In…");
}

} // namespace
} // namespace lumeno
