// How to Use moves when dragged by its background, and only then: a click there, press and release with no
// gap between them as a script or a quick finger sends it, leaves it where it is, and the Escape that follows
// closes it instead of ending a move that follows the pointer with no button held.
#include "e2e/TrayFixture.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

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

    // The server time of the last key or button press the program handled in `window`: the toolkit tells
    // the window manager through _NET_WM_USER_TIME, on a window of its own once it named one.
    std::optional<quint32> lastUserTime(xcb_window_t window) {
        const xcb_window_t holder =
            X11WindowInfo::windowProperty(*x11, window, "_NET_WM_USER_TIME_WINDOW").value_or(window);
        const auto reply = x11->reply(xcb_get_property_reply,
                                     xcb_get_property(x11->get(), 0, holder, x11->atom("_NET_WM_USER_TIME"),
                                                      XCB_ATOM_CARDINAL, 0, 1));
        if (!reply || xcb_get_property_value_length(reply.get()) != 4)
            return std::nullopt;
        return *static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    }

    std::shared_ptr<XcbConnection> x11 = XcbConnection::open();
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

    // Clicks with no gap between press and release, each one seen by the program (and so its release, which
    // came with it) before the pointer goes elsewhere. A window manager asked on the press to move the panel
    // may begin only after the release, and then follow the pointer with no button held.
    for (int click = 1; click <= 3; ++click) {
        const QPoint body = dropped.topLeft() + QPoint(dropped.width() / 2 + 40 * (click - 2), 16);
        const std::optional<quint32> beforeClick = lastUserTime(*panel);
        user.click(body.x(), body.y());
        ASSERT_TRUE(waitUntil([&] { return lastUserTime(*panel) != beforeClick; }))
            << "click " << click << " never reached the panel";
        user.moveTo(body.x() - shift.x(), body.y() - shift.y());
        user.moveTo(body.x() - 2 * shift.x(), body.y() - 2 * shift.y());
        screenshotOnceStill(QStringLiteral("after-click-%1").arg(click));
        ASSERT_EQ(geometryOf(*panel).topLeft(), dropped.topLeft())
            << "the panel followed the pointer after click " << click;
    }
    // A move in progress would take the Escape for itself; with none, the panel gets it and closes.
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*panel); })) << "Escape did not reach the panel";
}

} // namespace

} // namespace lumeno::e2e
