#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/DesktopUser.h"
#include "platform/linux/harness/FullScreenWindow.h"

#include "memory/SaveOffer.h"
#include "overlay/CaptureOverlay.h"
#include "overlay/OverlayPanel.h"
#include "platform/linux/QtScreenInfo.h"
#include "platform/linux/X11PanelWindowHints.h"
#include "platform/linux/XcbConnection.h"
#include "support/Clock.h"
#include "support/ManualScheduler.h"
#include "testsupport/LayoutCheck.h"
#include "testsupport/Screenshots.h"

#include <QApplication>
#include <QMenu>
#include <QToolTip>

namespace lumeno::desktop {
namespace {

// The capture overlay on the real X server, over another application's full-screen window: once on a
// desktop without a compositing manager and once with one.
class PanelDesktopTest : public DesktopTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        if (composited()) {
            ASSERT_TRUE(desktop().startCompositor()) << desktop().whyNotRunning().toStdString();
        }
        ASSERT_TRUE(backdrop.waitUntilReady());
        ASSERT_TRUE(waitUntil([&] { return hints.isCompositing() == composited(); }));
        moveTo(QPoint(640, 300));
        QObject::connect(&model(), &OverlayModel::cancelRequested, [this] { ++cancels; });
    }

    void TearDown() override {
        overlay.reset();
        if (composited())
            desktop().stopCompositor();
    }

    // The part of the screen around `area`, as far as the screen goes.
    static QImage around(const QImage& screen, const QRect& area) { return screen.copy(area.intersected(screen.rect())); }

    void moveTo(QPoint point) { user.moveTo(point.x(), point.y()); }
    void click(QPoint point) { user.click(point.x(), point.y()); }

    bool composited() const { return GetParam(); }
    QString picture(const QString& name) const {
        return name + (composited() ? QStringLiteral("-composited") : QStringLiteral("-no-compositor"));
    }

    OverlayModel& model() { return overlay->model(); }
    OverlayPanel& panel() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<OverlayPanel*>(window))
                return *found;
        throw std::logic_error("the overlay has no panel yet");
    }
    QRect sheet() { return panel().sheetGeometry(); }

    static bool near(QColor a, QColor b, int tolerance) {
        return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
               && std::abs(a.blue() - b.blue()) <= tolerance;
    }

    // Lets Qt lay out and paint what changed; a grab on Qt's connection then sees what it painted.
    static void settle() {
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    // Shows `phase` and waits until the screen shows the sheet, light where it was the backdrop's colour,
    // and has stopped changing (a compositing manager draws the screen a moment after the panel drew).
    QImage showOnScreen(OverlayPhase phase) {
        overlay->show(phase);
        settle();
        QImage screen, before;
        const bool shown = waitUntil([&] {
            before = std::exchange(screen, grabScreen());
            const QRect at = sheet();
            return near(screen.pixelColor(at.left() + 6, at.center().y()), QColor(Qt::white), 24)
                   && near(screen.pixelColor(at.center().x(), at.top() + 3), QColor(Qt::white), 24)
                   && screen == before;
        });
        EXPECT_TRUE(shown) << "the sheet never showed on the screen";
        return screen;
    }

    // What the picture must show: every control of the row inside the sheet, each drawn there (text, a
    // symbol or a capsule stands out from the sheet), not left blank or cut off at the sheet's edge. A
    // compositing manager may still be catching up with the panel's last paint, so `screen` is taken
    // again until every control shows, within the usual bound.
    void expectShowsEveryControl(QImage& screen) {
        QStringList blank = blankControls(screen);
        if (!blank.isEmpty())
            waitUntil([&] { return (blank = blankControls(screen = grabScreen())).isEmpty(); });
        EXPECT_TRUE(blank.isEmpty()) << blank.join(", ").toStdString() << " shows nothing";
        const QRect at = sheet();
        for (const QWidget* control : leafControls()) {
            const QRect where(control->mapToGlobal(QPoint(0, 0)), control->size());
            EXPECT_TRUE(at.contains(where)) << describe(*control).toStdString() << " reaches past the sheet";
        }
    }

    std::vector<const QWidget*> leafControls() {
        std::vector<const QWidget*> leaves;
        for (const QWidget* control : panel().findChildren<QWidget*>())
            if (control->isVisibleTo(&panel()) && control->findChildren<QWidget*>().isEmpty())
                leaves.push_back(control); // containers are checked through what they hold
        return leaves;
    }

    static QString describe(const QWidget& control) {
        return QString::fromLatin1(control.metaObject()->className()) + " " + control.objectName();
    }

    QStringList blankControls(const QImage& screen) {
        const QRect at = sheet();
        const QColor paper = screen.pixelColor(at.left() + 6, at.center().y());
        QStringList blank;
        for (const QWidget* control : leafControls()) {
            const QRect where = QRect(control->mapToGlobal(QPoint(0, 0)), control->size()).intersected(screen.rect());
            int ink = 0;
            for (int y = where.top(); y <= where.bottom(); ++y)
                for (int x = where.left(); x <= where.right(); ++x)
                    ink += std::abs(screen.pixelColor(x, y).lightness() - paper.lightness()) > 40;
            if (ink < 6)
                blank << describe(*control);
        }
        return blank;
    }

    void offerTwoThings() {
        model().setOffers({SaveOffer::commitment("Send Anna the signed contract", std::nullopt, std::nullopt),
                           SaveOffer::pin("Prefers calls after lunch", std::nullopt, std::nullopt)});
        // What the reply loop does when a chip is clicked.
        QObject::connect(&model(), &OverlayModel::offerAccepted, [this](const SaveOffer& offer) {
            QSet<QUuid> saved = model().savedOffers();
            saved.insert(offer.id);
            model().setSavedOffers(saved);
            overlay->relayout();
        });
    }

    FullScreenWindow backdrop{QColor(0x2f, 0x6d, 0xb5)};
    X11PanelWindowHints hints{XcbConnection::open()};
    ManualClock clock;
    ManualScheduler scheduler{clock};
    QtScreenInfo screens;
    std::unique_ptr<CaptureOverlay> overlay = std::make_unique<CaptureOverlay>(scheduler, clock, screens, hints);
    DesktopUser user;
    int cancels = 0;
};

TEST_P(PanelDesktopTest, FloatsAboveAFullScreenWindowWithoutTakingItsFocusAndItsCloseButtonAnswers) {
    offerTwoThings();
    QImage screen = showOnScreen(OverlayPhase::inserted);
    expectShowsEveryControl(screen);
    screenshots::save(screen, picture(QStringLiteral("desktop-overlay-over-full-screen")));
    testing::expectNothingClipped(panel());
    EXPECT_TRUE(backdrop.hasFocus());

    // The full-screen application comes to the front again, as when the user clicks into it.
    backdrop.activate();
    click(QPoint(40, 40));
    ASSERT_TRUE(waitUntil([&] { return backdrop.clicks().size() == 1; }));
    screen = grabScreen();
    EXPECT_TRUE(near(screen.pixelColor(sheet().left() + 6, sheet().center().y()), Qt::white, 24))
        << "the panel stays in front of the full-screen window";

    auto* close = panel().findChild<QWidget*>(QStringLiteral("closeButton"));
    ASSERT_NE(close, nullptr);
    click(close->mapToGlobal(close->rect().center()));
    EXPECT_TRUE(waitUntil([&] { return cancels == 1; })) << "the click reached the panel's close button";
    EXPECT_EQ(backdrop.clicks().size(), 1) << "and not the window beneath";
    EXPECT_TRUE(backdrop.hasFocus()) << "the user's application keeps the keyboard";
    EXPECT_EQ(QGuiApplication::focusWindow(), nullptr);
}

TEST_P(PanelDesktopTest, EachRowShowsAllItsControlsOnTheSheet) {
    model().setTranscript(QStringLiteral("Hi Anna,\n\nThursday at 3 works"));
    model().setContextBadge(QStringLiteral("Conversation"));
    model().setPersonChoices({{QUuid::createUuid(), QStringLiteral("R&D Team")}, {QUuid::createUuid(), QStringLiteral("Anna Berg")}});
    QImage screen = showOnScreen(OverlayPhase::listening);
    expectShowsEveryControl(screen);
    screenshots::save(around(screen, sheet().adjusted(-30, -30, 30, 30)), picture(QStringLiteral("desktop-overlay-listening")));

    // The person menu lists names as written, and opening it leaves the user's application the keyboard.
    auto* picker = panel().findChild<QWidget*>(QStringLiteral("personPicker"));
    ASSERT_NE(picker, nullptr);
    click(picker->mapToGlobal(picker->rect().center()));
    auto* menu = panel().findChild<QMenu*>(QStringLiteral("personMenu"));
    ASSERT_TRUE(menu && waitUntil([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->actions().first()->text().replace(QStringLiteral("&&"), QStringLiteral("&")), "R&D Team");
    settle();
    screen = grabScreen();
    screenshots::save(around(screen, sheet().united(menu->geometry()).adjusted(-30, -30, 30, 30)),
                      picture(QStringLiteral("desktop-overlay-person-menu")));
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(waitUntil([&] { return !menu->isVisible(); }));
    EXPECT_TRUE(waitUntil([&] { return backdrop.hasFocus(); }));

    model().setMessage(OverlayMessage{OverlayMessage::Kind::error, QStringLiteral("Couldn't reach the server"),
                                      QStringLiteral("Check your connection, then try again."), OverlayAction::retry()});
    screen = showOnScreen(OverlayPhase::message);
    expectShowsEveryControl(screen);
    screenshots::save(around(screen, sheet().adjusted(-30, -30, 30, 30)), picture(QStringLiteral("desktop-overlay-message")));

    model().setPendingDraft(QStringLiteral("Hi Anna,\n\nThursday at 3 works. I'll bring the signed contract.\n\nBest,\nMo"));
    screen = showOnScreen(OverlayPhase::pending);
    expectShowsEveryControl(screen);
    screenshots::save(around(screen, sheet().adjusted(-30, -30, 30, 30)), picture(QStringLiteral("desktop-overlay-pending")));

    model().setIsEditing(true);
    model().setInsertedNote(QStringLiteral("Edited. Ctrl+Z undoes it."));
    model().setEditedOriginal(QStringLiteral("friday is fine"));
    screen = showOnScreen(OverlayPhase::inserted);
    expectShowsEveryControl(screen);
    screenshots::save(around(screen, sheet().adjusted(-30, -30, 30, 30)), picture(QStringLiteral("desktop-overlay-edited")));
}

TEST_P(PanelDesktopTest, AClickJustOutsideTheSheetReachesTheWindowBeneath) {
    showOnScreen(OverlayPhase::listening);
    const QRect at = sheet();
    const QList<QPoint> outside = {QPoint(at.left() - 5, at.center().y()), QPoint(at.right() + 5, at.center().y()),
                                   QPoint(at.center().x(), at.bottom() + 5), QPoint(at.center().x(), at.top() - 5)};
    for (const QPoint& point : outside)
        click(point);
    ASSERT_TRUE(waitUntil([&] { return backdrop.clicks().size() == outside.size(); }))
        << backdrop.clicks().size() << " of " << outside.size() << " clicks arrived";
    EXPECT_EQ(backdrop.clicks(), outside);
    EXPECT_EQ(cancels, 0);
}

TEST_P(PanelDesktopTest, TheCornersShowWhatLiesBeneathAndNothingIsBlack) {
    const QImage screen = showOnScreen(OverlayPhase::listening);
    screenshots::save(around(screen, sheet().adjusted(-30, -30, 30, 30)), picture(QStringLiteral("desktop-overlay-corners")));
    const QRect at = sheet();
    const QColor beneath = backdrop.colour();
    for (const QPoint& corner : {at.topLeft(), at.topRight(), at.bottomLeft(), at.bottomRight()}) {
        const QColor shown = screen.pixelColor(corner);
        if (composited())
            // A soft shadow darkens the backdrop a little there; it never turns it black.
            EXPECT_TRUE(near(shown, beneath, 60) && shown.lightness() > beneath.lightness() / 2)
                << qPrintable(shown.name()) << " at " << corner.x() << "," << corner.y();
        else
            EXPECT_EQ(shown, beneath) << qPrintable(shown.name()) << " at " << corner.x() << "," << corner.y();
    }
    for (const QPoint& margin : {QPoint(at.left() - 5, at.center().y()), QPoint(at.center().x(), at.bottom() + 8)}) {
        const QColor shown = screen.pixelColor(margin);
        if (composited())
            EXPECT_TRUE(near(shown, beneath, 60)) << qPrintable(shown.name());
        else
            EXPECT_EQ(shown, beneath) << qPrintable(shown.name());
    }
}

TEST_P(PanelDesktopTest, HoveringAButtonShowsItsHelpText) {
    model().setOffers({SaveOffer::pin("Prefers calls after lunch", std::nullopt, std::nullopt)});
    showOnScreen(OverlayPhase::inserted);
    auto* close = panel().findChild<QWidget*>(QStringLiteral("closeButton"));
    ASSERT_NE(close, nullptr);
    moveTo(close->mapToGlobal(close->rect().center()) + QPoint(1, 0));
    moveTo(close->mapToGlobal(close->rect().center()));
    ASSERT_TRUE(waitUntil([] { return QToolTip::isVisible() && QToolTip::text() == QStringLiteral("Cancel (Esc)"); }))
        << "no help text";
    // The help text's own window, once it is painted on the screen.
    QWidget* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel") && window->isVisible())
            help = window;
    ASSERT_NE(help, nullptr);
    QImage screen;
    EXPECT_TRUE(waitUntil([&] {
        screen = grabScreen();
        return !near(screen.pixelColor(help->geometry().center()), backdrop.colour(), 24);
    })) << "the help text is not on the screen";
    screenshots::save(around(screen, sheet().united(help->geometry()).adjusted(-30, -30, 30, 30)),
                      picture(QStringLiteral("desktop-overlay-help")));
    EXPECT_TRUE(backdrop.hasFocus());

    auto* chip = panel().findChild<QWidget*>(QStringLiteral("offerChip"));
    ASSERT_NE(chip, nullptr);
    moveTo(chip->mapToGlobal(chip->rect().center()));
    EXPECT_TRUE(waitUntil([] {
        return QToolTip::isVisible() && QToolTip::text() == QStringLiteral("Save to Memory. Ignore it and nothing is stored.");
    }));
}

TEST_P(PanelDesktopTest, AfterAChipClickThePanelHasTheSizeItHasWhenShownAfreshWithThatContent) {
    offerTwoThings();
    showOnScreen(OverlayPhase::inserted);
    auto* chip = panel().findChild<QWidget*>(QStringLiteral("offerChip"));
    ASSERT_NE(chip, nullptr);
    click(chip->mapToGlobal(chip->rect().center()));
    ASSERT_TRUE(waitUntil([&] { return model().savedOffers().size() == 1; }));
    // Whatever Qt still does on later turns of the event loop must not change the size.
    const QSize afterClick = sheet().size();
    QImage screen = showOnScreen(OverlayPhase::inserted);
    expectShowsEveryControl(screen);
    screenshots::save(around(screen, sheet().adjusted(-30, -30, 30, 30)), picture(QStringLiteral("desktop-overlay-chip-saved")));
    EXPECT_EQ(sheet().size(), afterClick);
    testing::expectNothingClipped(panel());

    const QSet<QUuid> saved = model().savedOffers();
    const std::vector<SaveOffer> offers = model().offers();
    overlay->hide(0);
    scheduler.runDue();
    model().setOffers(offers);
    model().setSavedOffers(saved);
    showOnScreen(OverlayPhase::inserted);
    EXPECT_EQ(sheet().size(), afterClick) << "freshly shown with one chip saved";
}

TEST_P(PanelDesktopTest, FollowsACompositingManagerThatStartsOrStops) {
    showOnScreen(OverlayPhase::listening);
    const QPoint corner = sheet().topLeft();
    if (composited())
        desktop().stopCompositor();
    else
        ASSERT_TRUE(desktop().startCompositor());
    ASSERT_TRUE(waitUntil([&] { return hints.isCompositing() != composited(); }));
    EXPECT_EQ(panel().mask().isEmpty(), !composited());
    if (composited()) // now without one: the corner shows the backdrop exactly
        EXPECT_TRUE(waitUntil([&] { return grabScreen().pixelColor(corner) == backdrop.colour(); }));
    else
        desktop().stopCompositor();
}

INSTANTIATE_TEST_SUITE_P(Desktop, PanelDesktopTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithACompositingManager" : "WithoutACompositingManager";
                         });

} // namespace
} // namespace lumeno::desktop
