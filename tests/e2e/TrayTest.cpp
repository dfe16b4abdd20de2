// The tray icon is the program's one permanent surface: it docks, its menu reaches every window and
// quits; without a tray the settings window stands in for it.
#include "e2e/harness/E2eTest.h"

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

class Tray : public E2eTest {
protected:
    // Clicks the icon and waits for its menu; the menu's window.
    std::optional<xcb_window_t> openMenu(xcb_window_t icon) {
        const std::optional<std::pair<int, int>> centre = session().tray().centreOf(icon);
        if (!centre)
            return std::nullopt;
        user.click(centre->first, centre->second);
        std::optional<xcb_window_t> menu;
        waitUntil([&] {
            const std::vector<xcb_window_t> popups = popupsOf(lumeno->pid());
            if (!popups.empty())
                menu = popups.front();
            return menu.has_value();
        });
        return menu;
    }

    // Opens the menu and chooses the item `steps` down from the top (the status line cannot be chosen).
    void choose(xcb_window_t icon, int steps) {
        const std::optional<xcb_window_t> menu = openMenu(icon);
        ASSERT_TRUE(menu) << "the tray menu did not open";
        // Keys sent before the menu holds the keyboard go to the window underneath.
        ASSERT_TRUE(waitUntilDrawn(*menu)) << "the tray menu was never drawn";
        for (int step = 0; step < steps; ++step)
            user.tap(downKey);
        user.tap(DesktopUser::enter);
    }

    static constexpr quint8 downKey = 116;
    std::unique_ptr<LumenoProcess> lumeno;
};

TEST_F(Tray, TheIconDocksAndItsMenuOpensEachWindowAndQuits) {
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    std::vector<xcb_window_t> icons;
    ASSERT_TRUE(waitUntil([&] { return !(icons = session().tray().iconsOf(lumeno->pid())).empty(); }))
        << "no icon docked in the tray\n" << lumeno->log().toStdString();
    EXPECT_EQ(icons.size(), 1u);
    screenshotOnceDrawn(icons.front(), QStringLiteral("icon"));

    const std::optional<xcb_window_t> menu = openMenu(icons.front());
    ASSERT_TRUE(menu) << "the tray menu did not open";
    screenshotOnceDrawn(*menu, QStringLiteral("menu"));
    user.tap(DesktopUser::escape);
    ASSERT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); }));

    // Signed in with everything allowed, the items that can be chosen are, in order: Pause, Memory…,
    // How to Use, Check for Updates…, Settings…, Quit Lumeno.
    struct Item {
        int steps;
        QString title;
    };
    for (const Item& item : {Item{2, QStringLiteral("Lumeno Memory")}, Item{5, QStringLiteral("General")}}) {
        choose(icons.front(), item.steps);
        const std::optional<xcb_window_t> window = waitForWindow(lumeno->pid(), item.title);
        ASSERT_TRUE(window) << item.title.toStdString() << " did not open\n" << lumeno->log().toStdString();
        screenshotOnceDrawn(*window, item.title.section(u' ', -1).toLower());
    }
    const std::vector<xcb_window_t> before = windowsOf(lumeno->pid());
    choose(icons.front(), 3);
    std::optional<xcb_window_t> howTo;
    ASSERT_TRUE(waitUntil([&] {
        for (const xcb_window_t window : windowsOf(lumeno->pid())) {
            if (std::find(before.begin(), before.end(), window) == before.end() && isViewable(window))
                howTo = window;
        }
        return howTo.has_value();
    })) << "How to Use opened nothing";
    screenshotOnceDrawn(*howTo, QStringLiteral("how-to"));

    choose(icons.front(), 6);
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

TEST_F(Tray, WithoutATrayTheSettingsWindowOpensAndASecondLaunchBringsItForward) {
    session().tray().stop();
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("This desktop has no tray; showing the settings window instead")))
        << lumeno->log().toStdString();
    const std::optional<xcb_window_t> settings = waitForWindow(lumeno->pid(), QStringLiteral("General"));
    ASSERT_TRUE(settings) << "no settings window\n" << lumeno->log().toStdString();
    screenshotOnceDrawn(*settings, QStringLiteral("settings"));

    // The user covers it with another window, then starts Lumeno again: the running copy comes forward
    // and the second one ends.
    auto other = desktop::AccessibleTargets::qt();
    ASSERT_TRUE(other->waitUntilReady());
    ASSERT_TRUE(waitUntil([&] { return activeWindow() && activeWindow() != settings; }));
    auto second = launch(spoken(QStringLiteral("Hello")));
    EXPECT_EQ(second->waitForExit(), 0) << second->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return activeWindow() == settings; })) << "the running copy stayed behind";
    screenshotOnceDrawn(*settings, QStringLiteral("brought-forward"));

    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
    ASSERT_TRUE(session().tray().start());
}

} // namespace

} // namespace lumeno::e2e
