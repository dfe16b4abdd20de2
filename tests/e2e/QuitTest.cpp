// "Quit Lumeno" ends the program, whatever windows are open: none of them can keep a process running
// whose hot key and clipboard watch have already stopped.
#include "e2e/TrayFixture.h"

namespace lumeno::e2e {

namespace {

class Quitting : public TrayFixture {
protected:
    // Quits from the tray menu (its last item) and expects the process to end cleanly.
    void quitFromTheMenu(xcb_window_t icon, const QString& shot) {
        const std::optional<xcb_window_t> menu = openMenu(icon);
        ASSERT_TRUE(menu) << "the tray menu did not open";
        ASSERT_TRUE(waitUntilDrawn(*menu));
        screenshot(shot);
        chooseInOpenMenu(*menu, -1);
        EXPECT_EQ(lumeno->waitForExit(), 0) << shot.toStdString() << ": still running\n" << lumeno->log().toStdString();
    }
};

TEST_F(Quitting, WithTheGuideSetupSettingsAndMemoryOpen) {
    // Accessibility off, as on a stock desktop: signed out, the items that can be chosen are Sign In…,
    // Allow Permissions…, Pause, Memory…, How to Use, Check for Updates…, Settings…, Quit Lumeno.
    session().accessibility().setEnabled(false);
    const std::shared_ptr<void> restore(nullptr, [](void*) { session().accessibility().setEnabled(true); });
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    ASSERT_TRUE(waitForWindow(lumeno->pid(), QStringLiteral("Lumeno"))) << "the guide did not open";
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    for (const auto& [steps, title] : {std::pair{2, QStringLiteral("Allow Lumeno")}, std::pair{7, QStringLiteral("General")},
                                       std::pair{4, QStringLiteral("Lumeno Memory")}}) {
        choose(*icon, steps);
        ASSERT_TRUE(waitForWindow(lumeno->pid(), title)) << title.toStdString() << "\n" << lumeno->log().toStdString();
    }
    quitFromTheMenu(*icon, QStringLiteral("guide-setup-settings-memory"));
}

TEST_F(Quitting, WithEachWindowOpen) {
    becomeReturningUser();
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    // Signed in with everything allowed and draft details shown, the items that can be chosen are: Pause,
    // Memory…, Debug Window…, How to Use, Check for Updates…, Settings…, Quit Lumeno.
    struct Opening {
        int steps;
        QString title; // empty: the how-to panel, which has no title
        QString shot;
    };
    for (const Opening& opening : {Opening{6, QStringLiteral("General"), QStringLiteral("settings")},
                                   Opening{2, QStringLiteral("Lumeno Memory"), QStringLiteral("memory")},
                                   Opening{3, QStringLiteral("Lumeno Debug"), QStringLiteral("debug")},
                                   Opening{4, QString(), QStringLiteral("how-to")}}) {
        SCOPED_TRACE(opening.shot.toStdString());
        lumeno = launch(spoken(QStringLiteral("Hello")));
        ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
        const std::optional<xcb_window_t> icon = waitForIcon();
        ASSERT_TRUE(icon) << lumeno->log().toStdString();
        const std::vector<xcb_window_t> before = windowsOf(lumeno->pid());
        choose(*icon, opening.steps);
        ASSERT_TRUE(waitUntil([&] {
            for (const xcb_window_t window : windowsOf(lumeno->pid(), opening.title)) {
                if (std::find(before.begin(), before.end(), window) == before.end() && isViewable(window))
                    return true;
            }
            return false;
        })) << opening.shot.toStdString() << " did not open\n" << lumeno->log().toStdString();
        quitFromTheMenu(*icon, opening.shot);
    }
}

} // namespace

} // namespace lumeno::e2e
