#include "GuideTestSupport.h"

#include "platform/VirtualKeyCodes.h"
#include "shell/CrossFade.h"
#include "shell/HowToDemo.h"
#include "shell/HowToSession.h"
#include "shell/HowToView.h"
#include "shell/KeyRow.h"
#include "shell/PageDots.h"
#include "testsupport/QtPrinters.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <map>

namespace lumeno::testing {
namespace {

using Kind = KeySpot::Kind;

class HowToViewTest : public GuideFixture {
protected:
    HowToSession session{clock.now()};
    std::unique_ptr<HowToView> view;
    int doneCount = 0;

    HowToView& open(const Hotkey& hotkey = Hotkey::modifier(ModifierKey::rightOption)) {
        settings.setHotkey(hotkey);
        view = std::make_unique<HowToView>(session, HowToView::Services{settings, layout, modifiers, animation});
        QObject::connect(view.get(), &HowToView::done, [this] { ++doneCount; });
        view->resize(HowToView::width, HowToView::height);
        view->show();
        scheduler.runDue();
        return *view;
    }

    QPushButton* button() { return view->findChild<QPushButton*>("nextButton"); }
    QString title() { return view->findChild<QLabel*>("howToTitle")->text(); }
    QString lines() { return view->findChild<QLabel*>("howToLines")->text(); }
    KeyRow& keyRow() { return *view->findChild<KeyRow*>("keyRow"); }
    PageDots& dots() { return *view->findChild<PageDots*>("pageDots"); }
    HowToDemo& demo() { return *view->findChild<HowToDemo*>("howToDemo"); }

    // How far down the drawn key for `spot` is; -1 when it is not drawn.
    double pressOf(const KeySpot& spot) {
        const auto amounts = keyRow().pressAmounts();
        for (size_t i = 0; i < keyRow().draws().size(); ++i) {
            if (keyRow().draws()[i].spot == spot)
                return amounts[i];
        }
        return -1;
    }

    CrossFade& pageFade() { return *view->findChild<CrossFade*>("pageFade"); }

    void shootAt(double seconds, const QString& name) {
        scheduler.advance(seconds);
        shoot(*view, name);
    }
};

TEST_F(HowToViewTest, RightAltTeachesReplyThenEditWithItsOwnNames) {
    open();
    EXPECT_EQ(view->pageCount(), 2);
    EXPECT_EQ(title(), "Reply");
    EXPECT_EQ(lines(), "Hold Right Alt in any text field and speak naturally, or say what the reply should say.\n"
                       "Let go. The draft lands in the field. You press Send.");
    EXPECT_EQ(button()->text(), "Next");
    EXPECT_TRUE(dots().isVisible());
    EXPECT_EQ(dots().accessibleName(), "1 of 2");
    EXPECT_EQ(demo().accessibleName(), "Demo: a reply appears in the field.");
    shootAt(1.6, "how-to-reply-listening");

    scheduler.advance(1.0);
    QTest::keyClick(view.get(), Qt::Key_Return); // Return is the button's
    EXPECT_EQ(session.page(), 1);
    EXPECT_EQ(session.pageStart(), clock.now()) << "the page clock restarts";
    EXPECT_EQ(title(), "Edit");
    EXPECT_EQ(lines(), "Hold Right Alt and Super and say how to change the text that is already there.");
    EXPECT_EQ(button()->text(), "Done");
    EXPECT_EQ(dots().accessibleName(), "2 of 2");
    EXPECT_EQ(demo().accessibleName(), "Demo: the text in the field is rewritten.");
    EXPECT_LT(demo().frame().t, 0.1);
    shootAt(3.2, "how-to-edit-drafting");

    button()->click();
    EXPECT_EQ(doneCount, 1);
    EXPECT_EQ(session.page(), 1) << "Done changes nothing but closing";
}

TEST_F(HowToViewTest, TurningThePageLeavesTheKeysBothPagesDrawWhereTheyWere) {
    for (const ModifierKey key : {ModifierKey::rightOption, ModifierKey::rightCommand, ModifierKey::rightControl}) {
        session.setPage(0);
        open(Hotkey::modifier(key));
        settle();
        // Where each drawn key's face sits in the panel, by key.
        auto placed = [&] {
            std::map<QString, QRect> faces;
            for (size_t i = 0; i < keyRow().draws().size(); ++i) {
                const QRectF face = keyRow().keyFrame(int(i));
                faces[keyRow().draws()[i].spot.name + keyRow().draws()[i].label + QString::number(keyRow().draws()[i].x)] =
                    QRect(keyRow().mapTo(view.get(), face.topLeft().toPoint()), face.size().toSize());
            }
            return faces;
        };
        const std::map<QString, QRect> reply = placed();
        const QRect rowOnReply = keyRow().geometry();
        shootAt(1.6, QStringLiteral("how-to-keys-page-1-%1").arg(int(key)));
        view->next();
        settle();
        const std::map<QString, QRect> edit = placed();
        int shared = 0;
        for (const auto& [name, face] : edit)
            if (const auto before = reply.find(name); before != reply.end()) {
                ++shared;
                EXPECT_EQ(face, before->second) << name.toStdString() << " moved on turning the page";
            }
        EXPECT_GT(shared, 3);
        EXPECT_EQ(keyRow().geometry(), rowOnReply) << "the drawing keeps its place and size";
        EXPECT_LE(keyRow().width(), HowToView::width);
        shootAt(1.6, QStringLiteral("how-to-keys-page-2-%1").arg(int(key)));
    }
}

TEST_F(HowToViewTest, RightSuperNamesItselfAndItsEditModifierInWords) {
    open(Hotkey::modifier(ModifierKey::rightCommand));
    EXPECT_TRUE(lines().startsWith("Hold Right Super in any text field"));
    view->next();
    EXPECT_EQ(lines(), "Hold Right Super and Alt and say how to change the text that is already there.");
    EXPECT_EQ(keyRow().accessibleName(), "Alt, Super");
    shootAt(1.5, "how-to-right-super-edit");
}

TEST_F(HowToViewTest, ACombinationWithoutAnEditShortcutHasOnePageThatCloses) {
    using namespace VirtualKey;
    open(Hotkey::combo({ansiD, commandFlag | optionFlag | shiftFlag}));
    EXPECT_EQ(view->pageCount(), 1);
    EXPECT_FALSE(dots().isVisible());
    EXPECT_EQ(button()->text(), "Done");
    EXPECT_TRUE(lines().startsWith("Hold Alt+Shift+Super+D in any text field"));
    shootAt(1.5, "how-to-combination-one-page");
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(doneCount, 1);
    EXPECT_EQ(session.page(), 0);
}

TEST_F(HowToViewTest, NextCrossFadesToTheNewPageInAQuarterSecondWhileItIsAlreadyUsable) {
    open();
    scheduler.advance(4.5); // the reply is in the field: the two pages look clearly different
    EXPECT_FALSE(pageFade().isVisible());
    const QImage replyPage = view->grab().toImage();

    button()->click();
    const QImage editPage = view->findChild<QWidget*>("howToPage")->grab().toImage();
    ASSERT_TRUE(pageFade().isVisible());
    EXPECT_EQ(pageFade().progress(), 0);
    EXPECT_LT(meanDifference(view->grab().toImage(), replyPage), 0.5) << "the fade starts from the old page";

    // Frames come every 1/60 s, so a moment's progress is that of the frame just before it.
    scheduler.advance(HowToView::pageFadeSeconds / 4);
    EXPECT_GT(pageFade().progress(), 0.02);
    EXPECT_LT(pageFade().progress(), 0.2) << "it eases in";
    scheduler.advance(HowToView::pageFadeSeconds / 4);
    EXPECT_NEAR(pageFade().progress(), 0.5, 0.12);
    const QImage midway = view->grab().toImage();
    EXPECT_GT(meanDifference(midway, replyPage), 1.0);
    EXPECT_GT(meanDifference(midway, editPage), 1.0);
    shoot(*view, "how-to-page-cross-fade-midway");

    // The cover lets clicks through: Done on the new page works before the fade ends.
    const QPoint done = button()->mapTo(view.get(), button()->rect().center());
    EXPECT_EQ(view->childAt(done), button());

    scheduler.advance(HowToView::pageFadeSeconds / 2 + FrameTicker::frameInterval);
    EXPECT_FALSE(pageFade().isVisible());
    EXPECT_EQ(pageFade().progress(), 1);
    EXPECT_LT(meanDifference(view->grab().toImage(), view->findChild<QWidget*>("howToPage")->grab().toImage()), 0.01);
}

TEST_F(HowToViewTest, TheKeysToHoldGoDownWhileTheDemonstrationListens) {
    open();
    const KeySpot option = KeySpot::of(Kind::altRight);
    EXPECT_EQ(pressOf(option), 0);
    scheduler.advance(1.0);
    EXPECT_EQ(pressOf(option), 1);
    EXPECT_EQ(pressOf(KeySpot::of(Kind::superRight)), 0) << "a faded neighbour stays up";
    scheduler.advance(2.2);
    EXPECT_EQ(pressOf(option), 0);
}

TEST_F(HowToViewTest, HeldModifiersPushTheirDrawnKeysDownWithinATick) {
    open();
    scheduler.advance(0.2); // before the demonstration holds anything
    keyboard.press(VirtualKey::rightCommand);
    keyboard.press(VirtualKey::option); // the left Alt key is not in this drawing
    scheduler.advance(HowToView::keyWatchInterval);
    EXPECT_EQ(view->held(), (QSet<KeySpot>{KeySpot::of(Kind::superRight), KeySpot::of(Kind::altLeft)}));
    EXPECT_EQ(pressOf(KeySpot::of(Kind::superRight)), 1);
    EXPECT_EQ(pressOf(KeySpot::of(Kind::altRight)), 0);
    shoot(*view, "how-to-user-holds-right-super");

    keyboard.release(VirtualKey::rightCommand);
    keyboard.release(VirtualKey::option);
    scheduler.advance(HowToView::keyWatchInterval);
    EXPECT_TRUE(view->held().isEmpty());
    EXPECT_EQ(pressOf(KeySpot::of(Kind::superRight)), 0);

    keyboard.press(VirtualKey::rightCommand);
    scheduler.advance(HowToView::keyWatchInterval);
    view->hide();
    EXPECT_TRUE(view->held().isEmpty()) << "closing forgets the held keys";
    const int pending = scheduler.pendingCount();
    scheduler.advance(1.0);
    EXPECT_EQ(scheduler.pendingCount(), pending) << "nothing keeps watching once closed";
    EXPECT_TRUE(view->held().isEmpty());
}

TEST_F(HowToViewTest, ReopeningStartsOnTheReplyPageFromTheBeginning) {
    open();
    view->next();
    scheduler.advance(2.0);
    view->hide();
    // What the window manager does on every showing.
    session.setPage(0);
    session.setPageStart(clock.now());
    view->show();
    EXPECT_EQ(title(), "Reply");
    EXPECT_EQ(demo().frame().t, 0);
    EXPECT_FALSE(pageFade().isVisible()) << "a page set while closed is simply there when it opens";
}

TEST_F(HowToViewTest, ChangingTheHotKeyWhileOpenUpdatesNamesPagesAndKeys) {
    open();
    view->next();
    using namespace VirtualKey;
    settings.setHotkey(Hotkey::combo({ansiD, commandFlag | optionFlag | shiftFlag}));
    EXPECT_EQ(view->pageCount(), 1);
    EXPECT_EQ(title(), "Reply") << "the edit page vanished with the edit shortcut";
    EXPECT_EQ(button()->text(), "Done");
    EXPECT_FALSE(dots().isVisible());
}

TEST_F(HowToViewTest, AFunctionKeyAndFnAreDrawnAloneWithTheirNames) {
    open(Hotkey::combo({VirtualKey::f5, 0}));
    ASSERT_EQ(keyRow().draws().size(), 1u);
    EXPECT_EQ(keyRow().draws()[0].label, "F5");
    shootAt(1.5, "how-to-function-key");

    open(Hotkey::modifier(ModifierKey::fn));
    view->next();
    EXPECT_EQ(lines(), "Hold Fn and Super and say how to change the text that is already there.");
    ASSERT_EQ(keyRow().draws().size(), 1u);
    EXPECT_EQ(keyRow().draws()[0].label, "Fn");
    shootAt(1.2, "how-to-fn-edit");
}

// Name and selected state of each key a screen reader finds in the drawn keys, in drawing order.
std::vector<std::pair<QString, bool>> accessibleKeys(KeyRow& row) {
    QAccessibleInterface* group = QAccessible::queryAccessibleInterface(&row);
    std::vector<std::pair<QString, bool>> keys;
    for (int i = 0; group && i < group->childCount(); ++i) {
        QAccessibleInterface* key = group->child(i);
        keys.emplace_back(key->text(QAccessible::Name), bool(key->state().selected));
    }
    return keys;
}

using Keys = std::vector<std::pair<QString, bool>>;

TEST_F(HowToViewTest, EveryDrawnKeyIsAScreenReaderElementAndTheKeysToHoldAreSelected) {
    open();
    QAccessibleInterface* group = QAccessible::queryAccessibleInterface(&keyRow());
    ASSERT_TRUE(group);
    EXPECT_EQ(group->role(), QAccessible::Grouping);
    EXPECT_EQ(group->text(QAccessible::Name), "Alt");
    EXPECT_EQ(accessibleKeys(keyRow()), (Keys{{"M", false}, {",", false}, {".", false}, {"/", false},
                                             {"Alt", true}, {"Super", false}}));

    const QRect rowOnScreen(keyRow().mapToGlobal(QPoint(0, 0)), keyRow().size());
    for (int i = 0; i < group->childCount(); ++i) {
        QAccessibleInterface* key = group->child(i);
        EXPECT_EQ(key->parent(), group);
        EXPECT_EQ(group->indexOfChild(key), i);
        EXPECT_EQ(group->child(i), key) << "a key stays the same element";
        EXPECT_EQ(key->role(), QAccessible::Graphic);
        EXPECT_TRUE(rowOnScreen.contains(key->rect())) << key->text(QAccessible::Name).toStdString();
        EXPECT_EQ(group->childAt(key->rect().center().x(), key->rect().center().y()), key);
    }

    view->next();
    EXPECT_EQ(accessibleKeys(keyRow()),
              (Keys{{"M", false}, {",", false}, {".", false}, {"/", false}, {"Alt", true},
                    {"Super", true}, {"Menu", false}}));

    // A space-bar combination: the bar has no legend and reads as "Space"; the Super keys are too far.
    settings.setHotkey(Hotkey::combo({VirtualKey::space, VirtualKey::commandFlag}));
    const Keys spaceKeys = accessibleKeys(keyRow());
    ASSERT_EQ(int(spaceKeys.size()), int(keyRow().draws().size()));
    EXPECT_EQ(std::count(spaceKeys.begin(), spaceKeys.end(), std::pair<QString, bool>{"Space", true}), 1);
    EXPECT_EQ(std::count_if(spaceKeys.begin(), spaceKeys.end(), [](const auto& key) { return key.second; }), 1);
    EXPECT_EQ(group->childAt(-100, -100), nullptr);
}

} // namespace
} // namespace lumeno::testing
