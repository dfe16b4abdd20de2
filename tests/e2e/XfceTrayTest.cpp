// On XFCE, whose panel is both kinds of tray at once: the icon docks again whenever the tray changes under
// a running Lumeno (the panel restarts, another tray takes its place and gives it back), and the settings
// window carries the menu exactly while no tray holds the icon.
#include "e2e/TrayFixture.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace lumeno::e2e {

namespace {

class XfceTray : public TrayFixture {
protected:
    void SetUp() override {
        TrayFixture::SetUp();
        if (!session().isXfce())
            GTEST_SKIP() << "for the XFCE desktop (LUMENO_TEST_DESKTOP=xfce)";
        becomeReturningUser();
    }
    void TearDown() override {
        if (!session().isXfce())
            return;
        session().notifierTray().stop();
        session().tray().stop();
        if (!session().xfce().isPanelRunning())
            ASSERT_TRUE(session().xfce().startPanel()) << session().xfce().whyNotRunning().toStdString();
    }

    // The icon's blue tile in the strips along the top and the bottom of the screen, where the trays are;
    // its centre, once it is drawn there.
    static std::optional<QPoint> iconOnScreen() {
        const QImage screen = grabScreen();
        QRect tile;
        for (const int top : {0, screen.height() - stripHeight})
            for (int y = top; y < top + stripHeight; ++y)
                for (int x = 0; x < screen.width(); ++x) {
                    const QColor pixel = screen.pixelColor(x, y);
                    if (pixel.blue() > 200 && pixel.red() < 80 && pixel.green() > 90 && pixel.green() < 160)
                        tile |= QRect(x, y, 1, 1);
                }
        if (tile.width() < 8 || tile.height() < 8)
            return std::nullopt;
        return tile.center();
    }
    std::optional<QPoint> waitForIconOnScreen() {
        std::optional<QPoint> icon;
        waitUntil([&] { return (icon = iconOnScreen()).has_value(); });
        return icon;
    }
    bool waitForNoIconOnScreen() {
        return waitUntil([&] { return !iconOnScreen(); });
    }

    // Opens the menu from the icon and opens Settings from it (items: Pause, Memory…, How to Use, Check for
    // Updates…, Settings…).
    std::optional<xcb_window_t> openSettingsFromTheIcon(QPoint icon) {
        user.click(icon.x(), icon.y());
        const std::optional<xcb_window_t> menu = waitForPopup();
        if (!menu)
            return std::nullopt;
        screenshotOnceDrawn(*menu, QStringLiteral("menu-from-the-panel"));
        chooseInOpenMenu(*menu, 5);
        return waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Settings — General"));
    }

    // The settings window's height with the menu bar (carrying) and without (docked).
    bool waitForCarrying(xcb_window_t settings) {
        return waitUntil([&] { return geometryOf(settings).height() == carrying; });
    }
    bool waitForDocked(xcb_window_t settings) {
        return waitUntil([&] { return geometryOf(settings).height() == docked; });
    }

    static constexpr int stripHeight = 32;
    int docked = 0;
    int carrying = 0;
};

TEST_F(XfceTray, TheIconDocksAgainWhateverTrayComesAndTheMenuShowsInSettingsOnlyWhileNoneHoldsIt) {
    XfceDesktop& xfce = session().xfce();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    std::optional<QPoint> icon = waitForIconOnScreen();
    ASSERT_TRUE(icon) << "no icon in the panel\n" << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("icon-in-the-panel"));
    const std::optional<xcb_window_t> settings = openSettingsFromTheIcon(*icon);
    ASSERT_TRUE(settings) << "the icon's menu opened no Settings\n" << lumeno->log().toStdString();
    docked = geometryOf(*settings).height();

    // The panel stops: the window carries the menu.
    xfce.stopPanel();
    EXPECT_TRUE(waitForNoIconOnScreen());
    ASSERT_TRUE(waitUntil([&] { return geometryOf(*settings).height() > docked; }))
        << "the menu did not come to the settings window\n" << lumeno->log().toStdString();
    carrying = geometryOf(*settings).height();
    screenshotOnceDrawn(*settings, QStringLiteral("carrying-the-menu"));

    // It starts again: the icon docks in it again, and the window lets go of the menu.
    ASSERT_TRUE(xfce.startPanel()) << xfce.whyNotRunning().toStdString();
    EXPECT_TRUE(waitForIconOnScreen()) << "the icon did not come back to the restarted panel";
    EXPECT_TRUE(waitForDocked(*settings)) << "the settings window kept the menu\n" << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("panel-restarted"));

    // trayer takes the panel's place: the icon docks there.
    xfce.stopPanel();
    EXPECT_TRUE(waitForCarrying(*settings));
    ASSERT_TRUE(session().tray().start()) << session().tray().whyNotRunning().toStdString();
    EXPECT_TRUE(waitForIcon()) << "the icon did not dock in trayer\n" << lumeno->log().toStdString();
    EXPECT_TRUE(waitForIconOnScreen());
    EXPECT_TRUE(waitForDocked(*settings)) << "the settings window kept the menu with the icon in trayer";
    screenshotOnceStill(QStringLiteral("in-trayer"));

    // And gives it back.
    session().tray().stop();
    EXPECT_TRUE(waitForCarrying(*settings));
    ASSERT_TRUE(xfce.startPanel()) << xfce.whyNotRunning().toStdString();
    EXPECT_TRUE(waitForIconOnScreen()) << "the icon did not come back to the panel after trayer";
    EXPECT_TRUE(waitForDocked(*settings));

    // The stand-alone status-notifier tray, alone: the icon shows in its bar at the bottom.
    xfce.stopPanel();
    EXPECT_TRUE(waitForCarrying(*settings));
    ASSERT_TRUE(session().notifierTray().start()) << session().notifierTray().whyNotRunning().toStdString();
    EXPECT_TRUE(waitUntil([&] { return !NotifierTray::itemsOf(lumeno->pid()).isEmpty(); }))
        << "no item in the status-notifier tray\n" << lumeno->log().toStdString();
    EXPECT_EQ(NotifierTray::itemsOf(lumeno->pid()).size(), 1) << "the icon shows twice";
    const std::optional<QPoint> atTheBottom = waitForIconOnScreen();
    EXPECT_TRUE(atTheBottom && atTheBottom->y() > 400) << "the icon is not in the status-notifier bar";
    EXPECT_TRUE(waitForDocked(*settings)) << "the settings window kept the menu with the icon in the bar";
    screenshotOnceStill(QStringLiteral("in-the-status-notifier-tray"));
    session().notifierTray().stop();
    EXPECT_TRUE(waitForCarrying(*settings));

    // The panel again, after a tray of the other kind.
    ASSERT_TRUE(xfce.startPanel()) << xfce.whyNotRunning().toStdString();
    icon = waitForIconOnScreen();
    EXPECT_TRUE(icon && icon->y() < stripHeight) << "the icon did not come back to the panel";
    EXPECT_TRUE(waitForDocked(*settings));
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

TEST_F(XfceTray, ATrayThatGoesWhileNoWindowIsOpenBringsUpSettingsCarryingTheMenu) {
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    ASSERT_TRUE(waitForIconOnScreen()) << lumeno->log().toStdString();
    EXPECT_TRUE(windowsOf(lumeno->pid(), QStringLiteral("Lumeno Settings — General")).empty());

    session().xfce().stopPanel();
    std::optional<xcb_window_t> settings;
    EXPECT_TRUE(waitUntil([&] {
        for (const xcb_window_t window : windowsOf(lumeno->pid(), QStringLiteral("Lumeno Settings — General")))
            if (isViewable(window))
                settings = window;
        return settings.has_value();
    })) << "nothing of Lumeno is left on the screen\n" << lumeno->log().toStdString();
    ASSERT_TRUE(settings);
    screenshotOnceDrawn(*settings, QStringLiteral("settings-came-up"));
    carrying = geometryOf(*settings).height();

    ASSERT_TRUE(session().xfce().startPanel());
    EXPECT_TRUE(waitForIconOnScreen());
    EXPECT_TRUE(waitUntil([&] { return geometryOf(*settings).height() < carrying; }))
        << "the settings window kept the menu";
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

// The panel reads its copy of the menu before it says the menu opens, and sizes the menu to what it read:
// the first right-click shows the menu just as later ones do, with no empty strip at its foot.
TEST_F(XfceTray, TheFirstRightClickShowsThePanelsMenuAsLaterOnesDo) {
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<QPoint> icon = waitForIconOnScreen();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    // Under the icon, on the bare (black) screen, where the panel draws it.
    const QRect below(icon->x() - 300, stripHeight + 2, 300, 400);
    // The menu maps blank and draws its items a moment later: some text, dark, inside its light rows.
    const auto itemsDrawn = [](const QImage& shot) {
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 150; x < shot.width() && shot.pixelColor(shot.width() - 1, y).lightness() > 100; ++x)
                if (shot.pixelColor(x, y).lightness() < 100)
                    return true;
        return false;
    };
    const auto openOnce = [&](const QString& shot) {
        user.click(icon->x(), icon->y(), desktop::DesktopUser::rightButton);
        QImage menu;
        if (waitUntil([&] { return itemsDrawn(grabScreen().copy(below)); })) {
            // The picture once the screen stood still, not a grab after it that may catch a redraw.
            menu = QImage(screenshotOnceStill(shot)).copy(below);
        }
        user.tap(desktop::DesktopUser::escape);
        waitUntil([&] { return grabScreen().copy(below).pixelColor(150, 20).lightness() <= 100; });
        return menu;
    };
    const QImage first = openOnce(QStringLiteral("panel-menu-first"));
    const QImage second = openOnce(QStringLiteral("panel-menu-second"));
    ASSERT_FALSE(first.isNull() || second.isNull()) << "the panel showed no menu";
    EXPECT_EQ(first, second) << "the first menu differs from the next (see the two screenshots)";
}

TEST_F(XfceTray, APanelRestartBringsUpNoWindowAndLeavesTheUsersOnesAsTheyWere) {
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    ASSERT_TRUE(waitForIconOnScreen()) << lumeno->log().toStdString();
    expectTrayRestartLeavesTheUserAlone(
        [] {
            session().xfce().stopPanel();
            ASSERT_TRUE(session().xfce().startPanel()) << session().xfce().whyNotRunning().toStdString();
        },
        [this] { return waitForIconOnScreen().has_value(); }, QStringLiteral("panel-restarted-under-the-users-window"));
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

// The menu the panel shows for process `pid`'s item, as the item hands it over the bus: each item's label,
// followed by " [shortcut]" when it hands the panel a shortcut to write beside it.
std::vector<std::string> exportedMenu(qint64 pid) {
    std::vector<std::string> items;
    const QStringList registered = NotifierTray::itemsOf(pid);
    if (registered.isEmpty())
        return items;
    const QString service = registered.front().section(u'/', 0, 0);
    const QString path = registered.front().contains(u'/') ? u'/' + registered.front().section(u'/', 1)
                                                             : QStringLiteral("/StatusNotifierItem");
    QDBusInterface item(service, path, QStringLiteral("org.kde.StatusNotifierItem"), QDBusConnection::sessionBus());
    const QString menuPath = item.property("Menu").value<QDBusObjectPath>().path();
    QDBusMessage get = QDBusMessage::createMethodCall(service, menuPath, QStringLiteral("com.canonical.dbusmenu"),
                                                      QStringLiteral("GetLayout"));
    get << 0 << -1 << QStringList();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
        return items;
    // (ia{sv}av): the root, whose children are the items.
    const QDBusArgument root = reply.arguments().at(1).value<QDBusArgument>();
    int id = 0;
    QVariantMap properties;
    root.beginStructure();
    root >> id >> properties;
    root.beginArray();
    while (!root.atEnd()) {
        const QDBusArgument child = qvariant_cast<QDBusVariant>(root.asVariant()).variant().value<QDBusArgument>();
        QVariantMap itemProperties;
        child.beginStructure();
        child >> id >> itemProperties;
        child.endStructure();
        if (itemProperties.value(QStringLiteral("type")).toString() == QStringLiteral("separator"))
            continue;
        const bool shortcut = itemProperties.contains(QStringLiteral("shortcut"));
        items.push_back(itemProperties.value(QStringLiteral("label")).toString().toStdString()
                        + (shortcut ? " [shortcut]" : ""));
    }
    root.endArray();
    root.endStructure();
    return items;
}

TEST_F(XfceTray, ThePanelsCopyOfTheMenuHasTheSameItemsAndShowsNoShortcutThatCannotWorkThere) {
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<QPoint> icon = waitForIconOnScreen();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();

    // Lumeno's own menu, from a left click: its shortcuts work while it is open.
    user.click(icon->x(), icon->y());
    const std::optional<xcb_window_t> own = waitForPopup();
    ASSERT_TRUE(own && waitUntilDrawn(*own));
    screenshot(QStringLiteral("own-menu"));
    user.tap(desktop::DesktopUser::escape);
    ASSERT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); }));

    // The panel's copy, from a right click: the same items, and no shortcut the panel would write in its
    // own words ("Shift+Ctrl+M") or drop ("Ctrl+,"), and that would do nothing there.
    user.click(icon->x(), icon->y(), desktop::DesktopUser::rightButton);
    // The panel draws it under the icon, on the bare (black) screen.
    const QRect below(icon->x() - 300, stripHeight + 2, 300, 150);
    EXPECT_TRUE(waitUntil([&] { return grabScreen().copy(below).pixelColor(150, 20).lightness() > 100; }))
        << "the panel showed no menu";
    screenshotOnceStill(QStringLiteral("panel-menu"));
    user.tap(desktop::DesktopUser::escape);
    const std::vector<std::string> expected{"Hold Right Alt to reply", "Pause", "Memory…", "How to Use",
                                            "Check for Updates…", "Settings…", "Quit Lumeno"};
    EXPECT_EQ(exportedMenu(lumeno->pid()), expected);

    // Where they are shown, they work: Ctrl+Shift+M in Lumeno's own menu.
    user.click(icon->x(), icon->y());
    ASSERT_TRUE(waitForPopup());
    chord({control, shift}, letterM);
    EXPECT_TRUE(waitUntil([&] { return !windowsOf(lumeno->pid(), QStringLiteral("Lumeno Memory")).empty(); }))
        << "Ctrl+Shift+M in the menu opened no Memory window\n" << lumeno->log().toStdString();
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

} // namespace

} // namespace lumeno::e2e
