#include "overlay/CaptureOverlay.h"

#include "overlay/OverlayPanel.h"
#include "overlay/OverlayTestSupport.h"

#include <QSignalSpy>
#include <QWindow>

namespace lumeno {
namespace {

using testing::OverlayTest;

class CaptureOverlayTest : public OverlayTest {
protected:
    CaptureOverlay overlay{scheduler, clock, screens, hints};

    OverlayPanel* panel() { return qobject_cast<OverlayPanel*>(testing::window("captureOverlayPanel")); }
};

TEST_F(CaptureOverlayTest, HasNoWindowUntilFirstShownAndKeepsItAfterHiding) {
    EXPECT_EQ(panel(), nullptr);
    EXPECT_FALSE(overlay.isVisible());
    overlay.show(OverlayPhase::listening);
    ASSERT_NE(panel(), nullptr);
    EXPECT_TRUE(overlay.isVisible());
    const OverlayPanel* first = panel();

    overlay.hide(0);
    EXPECT_TRUE(overlay.isVisible()); // never inside the call
    scheduler.runDue();
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_EQ(overlay.model().phase(), OverlayPhase::hidden);

    overlay.show(OverlayPhase::drafting);
    EXPECT_EQ(panel(), first);
}

TEST_F(CaptureOverlayTest, AShowBeforeAWaitingHideRunsKeepsThePanelUp) {
    overlay.show(OverlayPhase::inserted);
    overlay.hide(0);
    overlay.show(OverlayPhase::listening);
    scheduler.advance(30);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.model().phase(), OverlayPhase::listening);
}

TEST_F(CaptureOverlayTest, ALaterHideReplacesAnEarlierOne) {
    overlay.show(OverlayPhase::inserted);
    overlay.hide(1);
    overlay.hide(5); // the user saved an offer: the panel stays longer
    scheduler.advance(4.9);
    EXPECT_TRUE(overlay.isVisible());
    scheduler.advance(0.2);
    EXPECT_FALSE(overlay.isVisible());
}

TEST_F(CaptureOverlayTest, HidingAHiddenOverlayResetsTheModelAgainWithoutAPhaseChange) {
    overlay.show(OverlayPhase::message);
    overlay.hide(0);
    scheduler.runDue();
    overlay.model().setTranscript("left over");
    QSignalSpy phase(&overlay.model(), &OverlayModel::phaseChanged);
    overlay.hide(2);
    scheduler.advance(2);
    EXPECT_TRUE(overlay.model().transcript().isEmpty());
    EXPECT_EQ(phase.count(), 0);
}

TEST_F(CaptureOverlayTest, AWaitingHideGoesWithTheOverlay) {
    auto owned = std::make_unique<CaptureOverlay>(scheduler, clock, screens, hints);
    owned->show(OverlayPhase::listening);
    owned->hide(1);
    owned.reset();
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(CaptureOverlayTest, PanelSitsAboveTheBottomOfTheScreenUnderThePointerAndTakesClicksOnlyOnItsSheet) {
    overlay.show(OverlayPhase::listening);
    OverlayPanel* shown = panel();
    ASSERT_NE(shown, nullptr);
    const QRect sheet = shown->sheetGeometry();
    EXPECT_EQ(sheet.bottom() + 1, 900 - 36);
    EXPECT_NEAR(sheet.center().x(), 720, 1);
    EXPECT_GE(sheet.width(), 184);
    EXPECT_EQ(shown->cornerRadius(), std::min(sheet.height() / 2.0, 22.0));
    EXPECT_EQ(hints.inputAreas.at(shown->windowHandle()), QRect(shown->mapFromGlobal(sheet.topLeft()), sheet.size()));
    const Qt::WindowFlags flags = shown->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::BypassWindowManagerHint)) << "no frame around it, nothing stacked above it";
    EXPECT_TRUE(shown->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(shown->testAttribute(Qt::WA_AlwaysShowToolTips)) << "help texts in a window that is never active";
}

TEST_F(CaptureOverlayTest, WithoutACompositingManagerThePanelIsCutToItsSheetAndFollowsTheManagerComingAndGoing) {
    overlay.show(OverlayPhase::listening);
    OverlayPanel* shown = panel();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->mask().isEmpty()) << "composited: the window reaches past the sheet for the shadow";

    hints.setCompositing(false);
    const QRect sheet(shown->mapFromGlobal(shown->sheetGeometry().topLeft()), shown->sheetGeometry().size());
    const QRegion shape = shown->mask();
    EXPECT_TRUE(shape.contains(sheet.center()));
    EXPECT_TRUE(shape.contains(QPoint(sheet.left(), sheet.center().y())));
    EXPECT_FALSE(shape.contains(sheet.topLeft())) << "the rounded corner is cut away";
    EXPECT_FALSE(shape.contains(sheet.bottomRight()));
    EXPECT_FALSE(shape.contains(sheet.topLeft() - QPoint(2, 2))) << "no shadow margin";
    const QImage picture = shown->grab().toImage();
    const qreal dpr = picture.devicePixelRatio();
    EXPECT_EQ(qAlpha(picture.pixel((sheet.topLeft() + QPoint(4, sheet.height() / 2)) * dpr)), 255)
        << "nothing blends the sheet: it is painted opaque";

    // A relayout to another size cuts the window to the new sheet.
    overlay.model().setTranscript(QStringLiteral("a transcript long enough to widen the listening row a good deal"));
    overlay.relayout();
    EXPECT_EQ(shown->mask().boundingRect(),
              QRect(shown->mapFromGlobal(shown->sheetGeometry().topLeft()), shown->sheetGeometry().size()));

    hints.setCompositing(true);
    EXPECT_TRUE(shown->mask().isEmpty());
}

TEST_F(CaptureOverlayTest, ShowAndRelayoutFollowThePointerToAnotherScreen) {
    screens.screenList.push_back({QRect(1440, 0, 1920, 1080), QRect(1440, 0, 1920, 1040)});
    overlay.show(OverlayPhase::listening);
    EXPECT_LT(panel()->sheetGeometry().right(), 1440);

    screens.pointerAt = QPoint(2400, 500);
    overlay.relayout();
    const QRect moved = panel()->sheetGeometry();
    EXPECT_NEAR(moved.center().x(), 1440 + 960, 1);
    EXPECT_EQ(moved.bottom() + 1, 1040 - 36);
}

TEST_F(CaptureOverlayTest, RelayoutFitsNewContentButLeavesAHiddenPanelAlone) {
    overlay.show(OverlayPhase::listening);
    const int before = panel()->sheetGeometry().width();
    const QRect window = panel()->geometry();
    overlay.model().setTranscript("so tell her that thursday works for me and I will bring the signed contract along");
    overlay.relayout();
    EXPECT_GT(panel()->sheetGeometry().width(), before);
    // Only the sheet widens: a window resized under a compositor shows its old picture for a moment.
    EXPECT_EQ(panel()->geometry(), window);
    EXPECT_EQ(panel()->sheetGeometry().bottom() + 1, 900 - 36);

    overlay.hide(0);
    scheduler.runDue();
    const QRect hidden = panel()->sheetGeometry();
    screens.pointerAt = QPoint(10, 10);
    overlay.model().setTranscript("x");
    overlay.relayout();
    EXPECT_EQ(panel()->sheetGeometry(), hidden);
}

} // namespace
} // namespace lumeno
