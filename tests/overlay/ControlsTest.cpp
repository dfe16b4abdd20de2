#include "overlay/Badges.h"
#include "overlay/LevelBars.h"
#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "overlay/OverlayTestSupport.h"
#include "ui/CapsuleButton.h"
#include "ui/CapsuleLabel.h"
#include "ui/SymbolButton.h"

#include <QKeySequence>
#include <QMenu>
#include <QTest>

namespace lumeno {
namespace {

using testing::OverlayTest;
using testing::shown;

class BadgesTest : public OverlayTest {
protected:
    OverlayModel model;
    QWidget row;
    Badges* badges = new Badges(model, &row);
};

TEST_F(BadgesTest, WithNothingToShowTheBadgesTakeNoSpace) {
    EXPECT_FALSE(badges->isVisibleTo(&row));
    model.setEditTarget(QStringLiteral("Selection"));
    EXPECT_TRUE(badges->isVisibleTo(&row));
    auto* target = shown<CapsuleLabel>(row, "editTargetBadge");
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->text(), "Selection");
    EXPECT_EQ(target->content().symbol, "text.cursor");
    EXPECT_EQ(target->toolTip(), "Edit mode changes this text");

    // Cleared, a badge goes, even while another keeps the row up.
    model.setContextBadge(QStringLiteral("Conversation"));
    model.setEditTarget(std::nullopt);
    EXPECT_EQ(shown(row, "editTargetBadge"), nullptr);
    model.setEditTarget(QStringLiteral("Selection"));
    model.setContextBadge(std::nullopt);
    EXPECT_EQ(shown(row, "contextBadge"), nullptr);
}

TEST_F(BadgesTest, ContextBadgeTogglesThroughTheModelAndSaysWhatAClickDoes) {
    int toggles = 0;
    QObject::connect(&model, &OverlayModel::contextToggleRequested, [&] {
        ++toggles;
        model.setContextEnabled(!model.contextEnabled()); // as the reply loop does
    });
    model.setContextBadge(QStringLiteral("Conversation"));
    auto* context = shown<CapsuleButton>(row, "contextBadge");
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->text(), "Conversation");
    EXPECT_EQ(context->content().symbol, "text.quote");
    EXPECT_EQ(context->toolTip(), "Using your conversation as the thread. Click to leave it out.");

    context->resize(context->sizeHint());
    QTest::mouseClick(context, Qt::LeftButton);
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(context->text(), "No context");
    EXPECT_EQ(context->content().symbol, "text.badge.xmark");
    EXPECT_EQ(context->content().style.foreground, Ink::of(Hierarchy::tertiary));
    EXPECT_EQ(context->toolTip(), "Click to use your conversation again.");
}

TEST_F(BadgesTest, WithChoicesButNoMatchThePickerAsksWhoAndListsOnlyNames) {
    const QUuid anna = QUuid::createUuid(), bo = QUuid::createUuid();
    model.setPersonChoices({{anna, "R&D Team"}, {bo, "Bo Lind"}});
    auto* picker = shown<CapsuleButton>(row, "personPicker");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->text(), "Who?");
    EXPECT_EQ(picker->content().style.foreground, Ink::of(Hierarchy::tertiary));
    EXPECT_EQ(picker->toolTip(), "Pick who this reply is to, to use your notes about them.");

    auto* menu = row.findChild<QMenu*>("personMenu");
    ASSERT_NE(menu, nullptr);
    // As the menu draws them: "&&" is one ampersand, a single one would underline the next letter.
    QStringList items;
    for (QAction* action : menu->actions()) {
        EXPECT_TRUE(QKeySequence::mnemonic(action->text()).isEmpty()) << qPrintable(action->text());
        items << (action->isSeparator() ? "—" : action->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
    }
    EXPECT_EQ(items, (QStringList{"R&D Team", "Bo Lind"})) << "names as written";

    std::optional<QUuid> picked;
    QObject::connect(&model, &OverlayModel::personPicked, [&](std::optional<QUuid> id) { picked = id; });
    menu->actions()[1]->trigger();
    EXPECT_EQ(picked, bo);

    model.setPersonChoices({{anna, "R&D Team"}});
    EXPECT_EQ(menu->actions().size(), 1) << "the menu lists the choices of now only";
}

TEST_F(BadgesTest, AMatchedPersonCanBeDroppedFromTheMenu) {
    model.setPersonBadge(QStringLiteral("Anna"));
    model.setPersonChoices({{QUuid::createUuid(), "Anna Berg"}});
    auto* picker = shown<CapsuleButton>(row, "personPicker");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->text(), "Anna");
    EXPECT_EQ(picker->toolTip(), "Using your notes about Anna. Click to pick someone else.");
    auto* menu = row.findChild<QMenu*>("personMenu");
    const QList<QAction*> actions = menu->actions();
    EXPECT_EQ(shown(row, "personBadge"), nullptr) << "the picker names the person; no second badge";
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "No Person Card");

    std::optional<std::optional<QUuid>> picked;
    QObject::connect(&model, &OverlayModel::personPicked, [&](std::optional<QUuid> id) { picked = id; });
    actions[2]->trigger();
    ASSERT_TRUE(picked.has_value());
    EXPECT_FALSE(picked->has_value());
}

TEST_F(BadgesTest, AMatchedPersonWithoutChoicesIsAPlainBadge) {
    model.setPersonBadge(QStringLiteral("Anna"));
    EXPECT_EQ(shown(row, "personPicker"), nullptr);
    auto* person = shown<CapsuleLabel>(row, "personBadge");
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->text(), "Anna");
    EXPECT_NE(person->content().style.foreground, Ink::of(Hierarchy::tertiary)) << "a match is not dimmed";
    EXPECT_TRUE(person->toolTip().isEmpty());
}

TEST_F(BadgesTest, ALongBadgeIsHeldTo140InsideItsCapsule) {
    model.setContextBadge(QStringLiteral("A selection with a very long name that cannot fit"));
    auto* context = shown<CapsuleButton>(row, "contextBadge");
    EXPECT_EQ(context->sizeHint().width(), 154);
    EXPECT_TRUE(context->content().shownText().endsWith(QStringLiteral("…")));
}

TEST(OverlayControlsTest, CloseAndDetailsButtonsCallTheirActionAndExplainThemselves) {
    QWidget parent;
    int closed = 0, details = 0;
    SymbolButton* close = OverlayControls::closeButton([&] { ++closed; }, &parent);
    SymbolButton* info = OverlayControls::detailsButton([&] { ++details; }, &parent);
    EXPECT_EQ(close->toolTip(), "Cancel (Esc)");
    EXPECT_EQ(close->sizeHint(), QSize(18, 18));
    EXPECT_EQ(info->toolTip(), "Draft Details: what this draft was built from");
    EXPECT_EQ(info->accessibleName(), "Draft Details");
    for (QWidget* button : {static_cast<QWidget*>(close), static_cast<QWidget*>(info)}) {
        button->resize(button->sizeHint());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(details, 1);
}

class LevelBarsTest : public OverlayTest {};

TEST_F(LevelBarsTest, BarsRiseWithTheLevelByTheirWeightsAndGlideThere) {
    LevelBars bars(animation);
    for (double height : bars.shownHeights())
        EXPECT_EQ(height, 4);
    bars.setLevel(1.0f);
    const std::array<double, 7> full = {11.2, 15.2, 18.4, 20, 18.4, 15.2, 11.2};
    for (size_t i = 0; i < full.size(); ++i)
        EXPECT_NEAR(bars.targetHeights()[i], full[i], 1e-9);
    EXPECT_EQ(bars.shownHeights()[3], 4); // nothing moves before time does

    scheduler.advance(0.034);
    EXPECT_GT(bars.shownHeights()[3], 4);
    EXPECT_LT(bars.shownHeights()[3], 20);
    scheduler.advance(0.1);
    for (size_t i = 0; i < full.size(); ++i)
        EXPECT_NEAR(bars.shownHeights()[i], full[i], 1e-9);
    EXPECT_EQ(scheduler.pendingCount(), 0); // the glide ended
    EXPECT_EQ(bars.sizeHint(), QSize(36, 22));
}

} // namespace
} // namespace lumeno
