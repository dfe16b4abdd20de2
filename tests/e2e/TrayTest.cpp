// The tray icon is the program's one permanent surface: it docks, its menu reaches every window and
// quits; without a tray the settings window stands in for it.
#include "e2e/TrayFixture.h"
#include "testsupport/Screenshots.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

class Tray : public TrayFixture {};

TEST_F(Tray, TheIconDocksAndItsMenuOpensEachWindowAndQuits) {
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    std::vector<xcb_window_t> icons;
    ASSERT_TRUE(waitForIcon()) << "no icon docked in the tray\n" << lumeno->log().toStdString();
    icons = session().tray().iconsOf(lumeno->pid());
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
    for (const Item& item : {Item{2, QStringLiteral("Lumeno Memory")}, Item{5, QStringLiteral("Lumeno Settings — General")}}) {
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

// The program's own icon, not a generic one: its blue tile, large enough for a task bar.
void expectLumenoIcon(const QImage& icon, const QString& window) {
    ASSERT_FALSE(icon.isNull()) << window.toStdString() << " gives the desktop no icon";
    EXPECT_GE(icon.width(), 64) << window.toStdString();
    int blue = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QColor pixel = icon.pixelColor(x, y);
            blue += pixel.alpha() > 200 && pixel.blue() > 180 && pixel.red() < 110;
        }
    EXPECT_GT(blue, icon.width() * icon.height() / 4) << window.toStdString() << " has another icon";
    screenshots::save(icon, QStringLiteral("e2e-window-icon-") + window.section(u' ', -1).toLower());
}

// The dark pixels of a tick in a menu's check column (inside its frame); an empty box is drawn in grey.
int tickInk(const QImage& column) {
    int ink = 0;
    for (int y = 2; y < column.height() - 2; ++y)
        for (int x = 2; x < column.width(); ++x)
            ink += column.pixelColor(x, y).lightness() < 70;
    return ink;
}

TEST_F(Tray, WithDraftDetailsOnPauseIsTickedTheWindowsWearTheIconAndDebugNamesTheFieldsRole) {
    becomeReturningUser();
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    home.setSetting(QStringLiteral("savesDraftDetails"), true);
    home.setSetting(QStringLiteral("paused"), true);
    server.setDraftAnswer(200, R"({"text":"Thursday works.","provider":"anthropic","model":"test-model"})");
    lumeno = launch(spoken(QStringLiteral("Tell Bo Thursday at noon works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    std::vector<xcb_window_t> icons;
    ASSERT_TRUE(waitUntil([&] { return !(icons = session().tray().iconsOf(lumeno->pid())).empty(); }))
        << "no icon docked in the tray\n" << lumeno->log().toStdString();

    // Items, paused with nothing drafted yet: Pause, Memory…, Debug Window…, How to Use, …
    choose(icons.front(), 3);
    const std::optional<xcb_window_t> debug = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Debug"));
    ASSERT_TRUE(debug) << lumeno->log().toStdString();
    expectLumenoIcon(iconOf(*debug), QStringLiteral("Lumeno Debug"));
    choose(icons.front(), 2);
    const std::optional<xcb_window_t> memory = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Memory"));
    ASSERT_TRUE(memory) << lumeno->log().toStdString();
    expectLumenoIcon(iconOf(*memory), QStringLiteral("Lumeno Memory"));

    // The menu's check column, where only Pause can show a mark, taken while the menu stays open (a click
    // right after the one that chose an item reaches the tray as a double click, and that menu may close
    // again at once: it is opened anew).
    auto checkColumn = [&](const QString& name) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            EXPECT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); })) << "a menu is still open";
            const std::optional<xcb_window_t> menu = openMenu(icons.front());
            if (!menu || !waitUntilDrawn(*menu))
                continue;
            const QRect frame = geometryOf(*menu);
            const QImage column = grabScreen().copy(frame.left(), frame.top(), 26, frame.height());
            const std::vector<xcb_window_t> open = popupsOf(lumeno->pid());
            if (std::find(open.begin(), open.end(), *menu) == open.end())
                continue;
            screenshot(name);
            user.tap(DesktopUser::escape);
            EXPECT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); })) << "the menu stayed open";
            return column;
        }
        ADD_FAILURE() << "the tray menu did not stay open";
        return QImage();
    };
    const QImage paused = checkColumn(QStringLiteral("menu-paused"));
    choose(icons.front(), 1); // Pause: resumes
    const QImage resumed = checkColumn(QStringLiteral("menu-resumed"));
    ASSERT_FALSE(paused.isNull());
    EXPECT_GT(tickInk(paused), 10) << "the Pause item shows no tick while paused";
    EXPECT_EQ(tickInk(resumed), 0) << "a tick while not paused";
    screenshots::save(paused, QStringLiteral("e2e-check-column-paused"));
    screenshots::save(resumed, QStringLiteral("e2e-check-column-resumed"));

    // A reply into the mail window, then the debug window names the field as the desktop does.
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());
    const qsizetype seen = qsizetype(lumeno->lines().size());
    user.press(DesktopUser::rightAlt);
    const bool played =
        lumeno->waitForLineContaining(QStringLiteral("The audio file has played to its end"), patienceMs, seen).has_value();
    user.release(DesktopUser::rightAlt);
    ASSERT_TRUE(played) << lumeno->log().toStdString();
    ASSERT_TRUE(waitUntil([&] { return mail->text(QStringLiteral("reply")).startsWith(QStringLiteral("Thursday works.")); }))
        << lumeno->log().toStdString();
    ASSERT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); }, 30000)) << "the overlay stayed";
    choose(icons.front(), 4); // Copy Last Draft, Pause, Memory…, Debug Window…
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == debug; })) << "the debug window did not come forward";
    screenshotOnceDrawn(*debug, QStringLiteral("debug"));
    // With a draft to copy above it, Pause still shows its tick.
    choose(icons.front(), 2); // Copy Last Draft, Pause: pauses again
    EXPECT_GT(tickInk(checkColumn(QStringLiteral("menu-paused-after-a-draft"))), 10)
        << "the Pause item shows no tick while paused";
    QFile file(home.supportFile(QStringLiteral("draft-details.jsonl")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject record = QJsonDocument::fromJson(file.readAll().trimmed().split('\n').back()).object();
    EXPECT_EQ(record.value("field").toObject().value("role").toString(), QStringLiteral("text"));

    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

TEST_F(Tray, TheMenusShortcutsWorkInTheOpenMenuAndInLumenosWindows) {
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    auto viewable = [&](const QString& title) -> std::optional<xcb_window_t> {
        std::optional<xcb_window_t> found;
        waitUntil([&] {
            for (const xcb_window_t window : windowsOf(lumeno->pid(), title))
                if (isViewable(window))
                    found = window;
            return found.has_value();
        });
        return found;
    };

    // In the open menu, Ctrl+Shift+M opens Memory and the menu closes.
    std::optional<xcb_window_t> menu = openMenu(*icon);
    ASSERT_TRUE(menu && waitUntilDrawn(*menu));
    chord({control, shift}, letterM);
    const std::optional<xcb_window_t> memory = viewable(QStringLiteral("Lumeno Memory"));
    ASSERT_TRUE(memory) << "Ctrl+Shift+M in the menu opened no Memory window\n" << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); })) << "the menu stayed open";

    // In the Memory window: Ctrl+Shift+D does nothing while draft details are off (no Debug item), and
    // "Ctrl+," opens Settings, which comes in front. Keys are handled in order, so by the time Settings
    // shows, a Debug window would have too.
    activate(*memory);
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == memory; }));
    chord({control, shift}, letterD);
    chord({control}, comma);
    const std::optional<xcb_window_t> settings = viewable(QStringLiteral("Lumeno Settings — General"));
    ASSERT_TRUE(settings) << "Ctrl+, opened no Settings window\n" << lumeno->log().toStdString();
    EXPECT_TRUE(windowsOf(lumeno->pid(), QStringLiteral("Lumeno Debug")).empty());

    // Escape closes Settings, Ctrl+W closes Memory.
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == settings; }));
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*settings); })) << "Escape left Settings open";
    activate(*memory);
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == memory; }));
    chord({control}, letterW);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*memory); })) << "Ctrl+W left Memory open";

    // Ctrl+Q in the open menu quits.
    menu = openMenu(*icon);
    ASSERT_TRUE(menu && waitUntilDrawn(*menu));
    chord({control}, letterQ);
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();

    // With draft details on, Ctrl+Shift+D in the menu opens the Debug window, and Escape closes it.
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> again = waitForIcon();
    ASSERT_TRUE(again);
    menu = openMenu(*again);
    ASSERT_TRUE(menu && waitUntilDrawn(*menu));
    chord({control, shift}, letterD);
    const std::optional<xcb_window_t> debug = viewable(QStringLiteral("Lumeno Debug"));
    ASSERT_TRUE(debug) << "Ctrl+Shift+D opened no Debug window\n" << lumeno->log().toStdString();
    ASSERT_TRUE(waitUntil([&] { return activeWindow() == debug; }));
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*debug); })) << "Escape left the Debug window open";
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0);
}

TEST_F(Tray, TheFirstMenuIsTheSizeOfItsItemsAsLaterOnesAre) {
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    std::vector<QSize> sizes;
    for (const QString shot : {"first-menu", "second-menu"}) {
        const std::optional<xcb_window_t> menu = openMenu(*icon);
        ASSERT_TRUE(menu && waitUntilDrawn(*menu)) << "the tray menu did not open";
        screenshotOnceStill(shot);
        sizes.push_back(geometryOf(*menu).size());
        user.tap(DesktopUser::escape);
        ASSERT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); }));
    }
    EXPECT_EQ(sizes.front(), sizes.back()) << "the first menu was not the size of its items";
}

TEST_F(Tray, ATrayThatRestartsBringsUpNoWindowAndLeavesTheUsersOnesAsTheyWere) {
    if (session().isXfce())
        GTEST_SKIP() << "XFCE's panel is restarted in XfceTrayTest";
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    ASSERT_TRUE(waitForIcon()) << lumeno->log().toStdString();
    expectTrayRestartLeavesTheUserAlone(
        [] {
            session().tray().stop();
            ASSERT_TRUE(session().tray().start()) << session().tray().whyNotRunning().toStdString();
        },
        [this] { return waitForIcon().has_value(); }, QStringLiteral("tray-restarted-under-the-users-window"));
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

TEST_F(Tray, WithoutATrayTheSettingsWindowOpensAndASecondLaunchBringsItForward) {
    session().tray().stop();
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("This desktop has no tray; showing the settings window instead")))
        << lumeno->log().toStdString();
    const std::optional<xcb_window_t> settings = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Settings — General"));
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
