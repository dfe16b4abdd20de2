#pragma once

#include "e2e/harness/E2eTest.h"

#include <algorithm>
#include <functional>

namespace lumeno::e2e {

// A user who reaches Lumeno through its tray icon, and through the keyboard.
class TrayFixture : public E2eTest {
protected:
    // Clicks the icon and waits for its menu; the menu's window.
    std::optional<xcb_window_t> openMenu(xcb_window_t icon) {
        const std::optional<std::pair<int, int>> centre = session().tray().centreOf(icon);
        if (!centre)
            return std::nullopt;
        user.click(centre->first, centre->second);
        return waitForPopup();
    }

    std::optional<xcb_window_t> waitForPopup() {
        std::optional<xcb_window_t> menu;
        waitUntil([&] {
            const std::vector<xcb_window_t> popups = popupsOf(lumeno->pid());
            if (!popups.empty())
                menu = popups.front();
            return menu.has_value();
        });
        return menu;
    }

    // Opens the menu and chooses the item `steps` down from the top (the status line cannot be chosen);
    // a negative count goes up from the bottom.
    void choose(xcb_window_t icon, int steps) {
        const std::optional<xcb_window_t> menu = openMenu(icon);
        ASSERT_TRUE(menu) << "the tray menu did not open";
        chooseInOpenMenu(*menu, steps);
    }

    void chooseInOpenMenu(xcb_window_t menu, int steps) {
        // Keys sent before the menu holds the keyboard go to the window underneath.
        ASSERT_TRUE(waitUntilDrawn(menu)) << "the menu was never drawn";
        for (int step = 0; step < std::abs(steps); ++step)
            user.tap(steps > 0 ? downKey : upKey);
        user.tap(desktop::DesktopUser::enter);
    }

    // The icon docked in the tray, once it is drawn there: a click before that can go unseen.
    std::optional<xcb_window_t> waitForIcon() {
        std::vector<xcb_window_t> icons;
        if (!waitUntil([&] { return !(icons = session().tray().iconsOf(lumeno->pid())).empty(); })
            || !waitUntilDrawn(icons.front()))
            return std::nullopt;
        return icons.front();
    }

    // The tray restarts (`restart` stops it and starts it again) while the user works in another program:
    // nothing of Lumeno comes up meanwhile, and once the icon is back (`iconIsBack`), the user's window
    // still has the keyboard and its place.
    void expectTrayRestartLeavesTheUserAlone(const std::function<void()>& restart,
                                             const std::function<bool()>& iconIsBack, const QString& shot) {
        auto other = desktop::AccessibleTargets::qt();
        ASSERT_TRUE(other->waitUntilReady());
        // Its window, once it has the keyboard (on a slow machine, a moment after the program is ready).
        std::optional<xcb_window_t> working;
        ASSERT_TRUE(waitUntil([&] {
            const std::vector<xcb_window_t> own = windowsOf(other->pid());
            return (working = activeWindow()) && std::find(own.begin(), own.end(), *working) != own.end();
        })) << "the user's window never had the keyboard";
        const QRect where = geometryOf(*working);
        const qsizetype seen = qsizetype(lumeno->lines().size());
        restart();
        ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("The tray came back in time"), patienceMs, seen))
            << lumeno->log().toStdString();
        EXPECT_TRUE(iconIsBack()) << "the icon did not come back to the restarted tray";
        screenshotOnceStill(shot);
        for (const xcb_window_t window : windowsOf(lumeno->pid()))
            EXPECT_FALSE(isViewable(window) && titleOf(window).startsWith(QStringLiteral("Lumeno Settings")))
                << "Settings came up for a tray that was back a moment later";
        EXPECT_EQ(activeWindow(), working) << "the user's window lost the keyboard";
        EXPECT_EQ(geometryOf(*working), where);
        EXPECT_FALSE(lumeno->log().contains(QStringLiteral("the settings window carries the menu")))
            << lumeno->log().toStdString();
    }

    // Ctrl (and Shift) with a key, as the user's hands press them.
    void chord(std::initializer_list<quint8> held, quint8 key) {
        for (quint8 modifier : held)
            user.press(modifier);
        user.tap(key);
        for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier)
            user.release(*modifier);
    }

    static constexpr quint8 downKey = 116, upKey = 111, rightKey = 114, letterM = 58, letterD = 40, letterQ = 24, letterW = 25,
                            comma = 59;
    static constexpr quint8 control = desktop::DesktopUser::leftControl, shift = desktop::DesktopUser::leftShift;
    std::unique_ptr<LumenoProcess> lumeno;
};

} // namespace lumeno::e2e
