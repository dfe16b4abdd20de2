// How to Use moves when dragged by its background, and only then: a click there, press and release with no
// gap between them as a script or a quick finger sends it, leaves it where it is, and the Escape that follows
// closes it instead of ending a move that follows the pointer with no button held.
#include "e2e/TrayFixture.h"

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

constexpr int howToMenuSteps = 3; // Pause, Memory…, How to Use

class HowToMove : public TrayFixture {
protected:
    // Opens How to Use from the tray menu; its window, once drawn.
    std::optional<xcb_window_t> openHowTo() {
        const std::optional<xcb_window_t> icon = waitForIcon();
        if (!icon)
            return std::nullopt;
        const std::vector<xcb_window_t> before = windowsOf(lumeno->pid());
        choose(*icon, howToMenuSteps);
        std::optional<xcb_window_t> panel;
        waitUntil([&] {
            for (const xcb_window_t window : windowsOf(lumeno->pid()))
                if (std::find(before.begin(), before.end(), window) == before.end() && isViewable(window) &&
                    geometryOf(window).size() == QSize(400, 486))
                    panel = window;
            return panel.has_value();
        });
        if (!panel || !waitUntilDrawn(*panel))
            return std::nullopt;
        return panel;
    }
};

TEST_F(HowToMove, AClickOnTheBodyStartsNoMoveAndADragMovesThePanelOnlyWhileTheButtonIsHeld) {
    becomeReturningUser();
    lumeno = launch(std::nullopt);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> panel = openHowTo();
    ASSERT_TRUE(panel) << "How to Use did not open\n" << lumeno->log().toStdString();
    activate(*panel);
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == panel; }));

    // A drag by the empty band above the demonstration, towards the middle of the screen.
    const QRect start = geometryOf(*panel);
    const QPoint grip = start.topLeft() + QPoint(start.width() / 2, 16);
    const QPoint shift(start.center().x() > 640 ? -120 : 120, start.center().y() > 400 ? -60 : 60);
    user.moveTo(grip.x(), grip.y());
    user.pressButton();
    user.moveTo(grip.x() + shift.x() / 2, grip.y() + shift.y() / 2);
    user.moveTo(grip.x() + shift.x(), grip.y() + shift.y());
    EXPECT_TRUE(waitUntil([&] { return geometryOf(*panel).topLeft() == start.topLeft() + shift; }))
        << "the drag left the panel at " << geometryOf(*panel).x() << "," << geometryOf(*panel).y() << " from "
        << start.x() << "," << start.y();
    user.releaseButton();
    const QRect dropped = geometryOf(*panel);
    screenshotOnceStill(QStringLiteral("dragged"));

    // A click with no gap between press and release, then the pointer goes elsewhere.
    const QPoint body = dropped.topLeft() + QPoint(dropped.width() / 2, 16);
    user.click(body.x(), body.y());
    user.moveTo(body.x() - shift.x(), body.y() - shift.y());
    user.moveTo(body.x() - 2 * shift.x(), body.y() - 2 * shift.y());
    screenshotOnceStill(QStringLiteral("after-click"));
    EXPECT_EQ(geometryOf(*panel).topLeft(), dropped.topLeft()) << "the panel followed the pointer after the click";
    // A move in progress would take the Escape for itself; with none, the panel gets it and closes.
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*panel); })) << "Escape did not reach the panel";
}

} // namespace

} // namespace lumeno::e2e
