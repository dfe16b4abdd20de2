// Without a tray the settings window carries the tray's menu; the icon docks whenever a tray appears, of
// either kind (an XEmbed tray manager, a status-notifier host), and the menu's shortcuts work in the
// program's windows.
#include "e2e/TrayFixture.h"

namespace lumeno::e2e {

namespace {

class NoTray : public TrayFixture {
protected:
    void SetUp() override {
        TrayFixture::SetUp();
        session().tray().stop();
        becomeReturningUser();
    }
    void TearDown() override {
        session().notifierTray().stop();
        ASSERT_TRUE(session().tray().start()) << session().tray().whyNotRunning().toStdString();
    }

    // The settings window, opened at the start because no tray could show the icon.
    std::optional<xcb_window_t> waitForSettingsInstead() {
        EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("This desktop has no tray; showing the settings window instead")))
            << lumeno->log().toStdString();
        return waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Settings — General"));
    }
    // Whether the window has the height it has with (or without) the menu bar.
    bool waitForHeight(xcb_window_t window, int height) {
        return waitUntil([&] { return geometryOf(window).height() == height; });
    }
    bool waitForShorter(xcb_window_t window, int than) {
        return waitUntil([&] { return geometryOf(window).height() < than; });
    }
    // Clicks "Lumeno" at the left of the window's menu bar; the menu, once it is open.
    std::optional<xcb_window_t> openCarriedMenu(xcb_window_t settings) {
        const QRect client = geometryOf(settings);
        user.click(client.x() + 30, client.y() + 9);
        return waitForPopup();
    }
    // A window of Lumeno titled `title` on screen now, or soon.
    bool waitForViewable(const QString& title) {
        return waitUntil([&] {
            for (const xcb_window_t window : windowsOf(lumeno->pid(), title))
                if (isViewable(window))
                    return true;
            return false;
        });
    }
};

TEST_F(NoTray, TheSettingsWindowCarriesTheMenuUntilATrayComesAndAgainAfterItGoes) {
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> settings = waitForSettingsInstead();
    ASSERT_TRUE(settings) << "no settings window\n" << lumeno->log().toStdString();
    screenshotOnceDrawn(*settings, QStringLiteral("settings-carrying-the-menu"));
    const int carrying = geometryOf(*settings).height();

    // The menu is the tray's: opened from the window, it leads to Memory.
    const std::optional<xcb_window_t> menu = openCarriedMenu(*settings);
    ASSERT_TRUE(menu) << "the menu did not open from the settings window";
    screenshotOnceDrawn(*menu, QStringLiteral("settings-menu-open"));
    chooseInOpenMenu(*menu, 2); // Pause, Memory…
    EXPECT_TRUE(waitForViewable(QStringLiteral("Lumeno Memory"))) << lumeno->log().toStdString();

    // A tray that starts late takes the icon, and the window lets go of the menu.
    ASSERT_TRUE(session().tray().start());
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << "the icon did not dock in a tray that came late\n" << lumeno->log().toStdString();
    EXPECT_TRUE(waitForShorter(*settings, carrying)) << "the settings window still carries the menu";
    activate(*settings);
    screenshotOnceDrawn(*settings, QStringLiteral("settings-with-a-tray"));

    // The tray goes away: the window carries the menu again; it comes back: the icon docks again.
    session().tray().stop();
    EXPECT_TRUE(waitForHeight(*settings, carrying)) << "the menu did not come back to the settings window";
    ASSERT_TRUE(session().tray().start());
    EXPECT_TRUE(waitForIcon()) << "the icon did not dock in the tray that came back";
    screenshotOnceStill(QStringLiteral("tray-came-back"));
    EXPECT_EQ(session().tray().iconsOf(lumeno->pid()).size(), 1u) << "docked twice";
    session().tray().stop();
    ASSERT_TRUE(waitForHeight(*settings, carrying));

    // Quitting from the window's menu ends the program.
    activate(*settings);
    const std::optional<xcb_window_t> again = openCarriedMenu(*settings);
    ASSERT_TRUE(again);
    chooseInOpenMenu(*again, -1);
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

TEST_F(NoTray, AStatusNotifierTrayTakesTheIconLateAfterComingBackAndAtTheStart) {
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> settings = waitForSettingsInstead();
    ASSERT_TRUE(settings) << lumeno->log().toStdString();
    const int carrying = geometryOf(*settings).height();

    NotifierTray& tray = session().notifierTray();
    ASSERT_TRUE(tray.start()) << tray.whyNotRunning().toStdString();
    EXPECT_TRUE(waitUntil([&] { return !tray.itemsOf(lumeno->pid()).isEmpty(); }))
        << "no item in the status-notifier tray that came late\n" << lumeno->log().toStdString();
    EXPECT_TRUE(waitForShorter(*settings, carrying)) << "the settings window still carries the menu";
    // The host's bar along the bottom of the screen, with the icon in it.
    std::optional<xcb_window_t> bar;
    EXPECT_TRUE(waitUntil([&] {
        for (const xcb_window_t window : windowsOf(tray.hostPid()))
            if (isViewable(window))
                bar = window;
        return bar.has_value();
    })) << "the status-notifier host shows no bar";
    if (bar)
        screenshotOnceDrawn(*bar, QStringLiteral("status-notifier-tray"));

    tray.stop();
    EXPECT_TRUE(waitForHeight(*settings, carrying)) << "the menu did not come back to the settings window";
    ASSERT_TRUE(tray.start()) << tray.whyNotRunning().toStdString();
    EXPECT_TRUE(waitUntil([&] { return !tray.itemsOf(lumeno->pid()).isEmpty(); }))
        << "the item did not come back to the tray\n" << lumeno->log().toStdString();

    // Ctrl+Q in one of its windows quits.
    activate(*settings);
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == settings; }));
    chord({control}, letterQ);
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();

    // With the tray there from the start, the icon goes straight in and no window opens.
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return !tray.itemsOf(lumeno->pid()).isEmpty(); })) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("The icon is in the tray")));
    EXPECT_FALSE(lumeno->log().contains(QStringLiteral("no tray")));
    EXPECT_TRUE(windowsOf(lumeno->pid(), QStringLiteral("Lumeno Settings — General")).empty());
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0);
}

} // namespace

} // namespace lumeno::e2e
