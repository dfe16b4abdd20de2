// Settings on a small screen: whatever tab the user picks, the window stays on the screen's free area and
// every control of the tab can be reached. Run at 1280×800 and, by a second test run, at 1024×768.
#include "e2e/harness/E2eTest.h"
#include "e2e/harness/ScreenButtons.h"

#include <QGuiApplication>
#include <QScreen>

namespace lumeno::e2e {

namespace {

class SettingsOnScreen : public E2eTest {};

TEST_F(SettingsOnScreen, EveryTabKeepsTheWindowOnTheScreenAndAccountsButtonsInReach) {
    becomeReturningUser();
    auto lumeno = launch(std::nullopt);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    // A second launch brings Settings forward.
    auto second = launch(std::nullopt);
    EXPECT_EQ(second->waitForExit(), 0) << second->log().toStdString();
    const std::optional<xcb_window_t> window = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Settings — General"));
    ASSERT_TRUE(window) << lumeno->log().toStdString();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());

    for (const QString tab : {"General", "Account", "More", "Style", "Permissions"}) {
        ASSERT_TRUE(clickOn(lumeno->pid(), tab)) << tab.toStdString();
        ASSERT_TRUE(waitUntil([&] { return titleOf(*window) == QStringLiteral("Lumeno Settings — ") + tab; })) << tab.toStdString();
        // The window manager has placed the window once the screen stops changing.
        screenshotOnceStill(QStringLiteral("%1-%2").arg(size, tab.toLower()));
        const QRect placed = geometryOf(*window);
        EXPECT_TRUE(screen.contains(placed)) << tab.toStdString() << " at " << placed.x() << "," << placed.y() << " "
                                             << placed.width() << "×" << placed.height() << " on " << size.toStdString();
        if (tab != QLatin1String("Account"))
            continue;
        for (const QString button : {"Sign Out", "Delete Account…"}) {
            const std::optional<QRect> at = ScreenButtons::find(lumeno->pid(), button);
            ASSERT_TRUE(at) << button.toStdString();
            EXPECT_TRUE(placed.contains(*at) && screen.contains(*at))
                << button.toStdString() << " at " << at->x() << "," << at->y() << " " << at->width() << "×"
                << at->height() << " in the window at " << placed.x() << "," << placed.y() << " " << placed.width()
                << "×" << placed.height() << " on " << size.toStdString();
        }
        // The user can press them: Delete Account… asks first.
        ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Delete Account…")));
        std::optional<QRect> confirm;
        ASSERT_TRUE(waitUntil([&] {
            return (confirm = ScreenButtons::find(lumeno->pid(), QStringLiteral("Delete Account"))).has_value();
        }));
        EXPECT_TRUE(screen.contains(*confirm)) << "confirm at " << confirm->y();
        screenshotOnceStill(QStringLiteral("%1-account-delete-asked").arg(size));
    }
}

} // namespace

} // namespace lumeno::e2e
