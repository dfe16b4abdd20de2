#include "overlay/OverlayLayout.h"

#include "platform/fake/FakeScreenInfo.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

const BottomLeftRect laptop{0, 0, 1440, 875};

// Sizes round up and gain their border; the panel is at least 184 × 50, at most the screen less 28 on each
// side, centred (half a point rounds away from zero), 36 above the bottom, its corners at most 22 round.
TEST(OverlayLayoutTest, CapturePanelFitsItsContentWithinTheScreen) {
    struct Case {
        BottomLeftRect screen;
        QSizeF content;
        BottomLeftRect frame;
    };
    const Case cases[] = {
        {laptop, {120.3, 40}, {628, 36, 184, 50}},
        {laptop, {300.2, 70.1}, {568, 36, 305, 73}}, // 720 − 152.5 = 567.5
        {laptop, {5000, 60}, {28, 36, 1440 - 56, 62}},
        {{100, 40, 250, 600}, {400, 40}, {100 + 250 - 28 - 220, 40 + 36, 220, 50}}, // the right margin wins
    };
    for (const Case& c : cases) {
        const auto placement = OverlayLayout::capturePanel(c.screen, c.content);
        EXPECT_EQ(placement.frame, c.frame) << c.content.width();
        EXPECT_EQ(placement.cornerRadius, 22);
    }
}

TEST(OverlayLayoutTest, DebugPanelHasAFixedSizeForTheScreenBelowItsTop) {
    const BottomLeftRect frame = OverlayLayout::debugPanel(laptop);
    EXPECT_EQ(frame, (BottomLeftRect{490, 497.5, 460, 367.5}));

    const BottomLeftRect narrow = OverlayLayout::debugPanel({0, 0, 500, 800});
    EXPECT_EQ(narrow.width, 452);
    EXPECT_EQ(narrow.x, 24);
}

TEST(OverlayLayoutTest, TheScreenUnderThePointerIsUsedElseTheMainOneElseAStandardOne) {
    FakeScreenInfo screens;
    screens.screenList = {{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)},
                          {QRect(1440, -200, 1920, 1080), QRect(1440, -200, 1920, 1040)}};
    screens.pointerAt = QPoint(2000, 100);
    OverlayLayout::WorkArea area = OverlayLayout::workArea(screens);
    // Flipped about the primary screen's height: the visible frame's bottom is at 900 + 200 − 1040 = 60.
    EXPECT_EQ(area.visible, (BottomLeftRect{1440, 60, 1920, 1040}));

    // A pointer on the boundary belongs to the screen on its right.
    screens.pointerAt = QPoint(1440, 0);
    EXPECT_EQ(OverlayLayout::workArea(screens).visible.x, 1440);

    screens.pointerAt = QPoint(-50, -50);
    screens.mainIndex = 1;
    EXPECT_EQ(OverlayLayout::workArea(screens).visible.x, 1440);

    screens.screenList.clear();
    area = OverlayLayout::workArea(screens);
    EXPECT_EQ(area.visible, (BottomLeftRect{0, 0, 1440, 900}));
    EXPECT_EQ(area.toWindow(area.visible), QRect(0, 0, 1440, 900));
}

TEST(OverlayLayoutTest, WindowRectanglesFlipBackToTopLeftCoordinates) {
    FakeScreenInfo screens; // 1440 × 900 with a 25-point bar at the top
    const OverlayLayout::WorkArea area = OverlayLayout::workArea(screens);
    EXPECT_EQ(area.visible, laptop);
    const QRect capture = area.toWindow(OverlayLayout::capturePanel(area.visible, {100, 30}).frame);
    EXPECT_EQ(capture, QRect(628, 900 - 36 - 50, 184, 50));
    const QRect debug = area.toWindow(OverlayLayout::debugPanel(area.visible));
    EXPECT_EQ(debug.top(), 25 + 10);
    EXPECT_EQ(debug.left(), 490);
}

} // namespace
} // namespace lumeno
