// Lumeno's windows never hide each other, nor the desktop's own settings a Lumeno window sent the user to:
// How to Use is an ordinary window that a later one covers and that Escape or Ctrl+W closes, and the setup
// window stays below the settings program its "Open Settings…" starts.
#include "e2e/TrayFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

class WindowOrder : public TrayFixture {
protected:
    void TearDown() override {
        // The stand-in for the desktop's settings outlives Lumeno, as a program it starts does.
        if (standInPid > 0)
            ::kill(pid_t(standInPid), SIGTERM);
    }

    // The How to Use window of process `pid`: the one window of its size.
    std::optional<xcb_window_t> waitForHowTo(qint64 pid) {
        std::optional<xcb_window_t> found;
        waitUntil([&] {
            for (const xcb_window_t window : windowsOf(pid))
                if (isViewable(window) && geometryOf(window).size() == QSize(400, 486))
                    found = window;
            return found.has_value();
        });
        return found;
    }

    // An ordinary window: in the task bar, and above nothing by right.
    void expectOrdinaryWindow(xcb_window_t window, const char* what) {
        EXPECT_EQ(atomsOf(window, "_NET_WM_WINDOW_TYPE"), QStringList{QStringLiteral("_NET_WM_WINDOW_TYPE_NORMAL")})
            << what;
        const QStringList states = atomsOf(window, "_NET_WM_STATE");
        EXPECT_FALSE(states.contains(QStringLiteral("_NET_WM_STATE_ABOVE"))) << what << " stays on top";
        EXPECT_FALSE(states.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR"))) << what << " has no task bar entry";
    }

    // A program that stands in for the desktop's settings: an xterm titled so, which writes its process id
    // to `pidFile`. Installed under the names of every tool Lumeno looks for.
    static QString installSettingsStandIn(const QTemporaryDir& folder, const QString& pidFile) {
        const QString script = QStringLiteral("#!/bin/sh\necho $$ > '%1'\n"
                                              "exec xterm -title 'Settings' -bg '#204a87' -geometry 90x30+380+220\n")
                                   .arg(pidFile);
        for (const char* name : {"gnome-control-center", "systemsettings", "pavucontrol", "xfce4-accessibility-settings"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0)
                return {};
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return folder.path();
    }

    static constexpr int allowPermissionsItem = 1, memoryItem = 3, howToItem = 4;
    static inline const QColor standInColour{0x20, 0x4a, 0x87};
    qint64 standInPid = 0;
};

TEST_F(WindowOrder, HowToUseIsAnOrdinaryWindowThatALaterOneCoversAndEscapeOrCtrlWCloses) {
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    // Everything allowed: the menu has no "Allow Permissions…", so each item is one step higher.
    choose(*icon, howToItem - 1);
    const std::optional<xcb_window_t> howTo = waitForHowTo(lumeno->pid());
    ASSERT_TRUE(howTo) << "How to Use opened nothing\n" << lumeno->log().toStdString();
    expectOrdinaryWindow(*howTo, "How to Use");
    EXPECT_EQ(titleOf(*howTo), QStringLiteral("How to Use Lumeno"));

    choose(*icon, memoryItem - 1);
    const std::optional<xcb_window_t> memory = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Memory"));
    ASSERT_TRUE(memory) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return isStackedAbove(*memory, *howTo); })) << "Memory opened under How to Use";
    screenshotOnceStill(QStringLiteral("memory-over-how-to"));

    activate(*howTo);
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*howTo); })) << "Escape left How to Use open";
    EXPECT_TRUE(isViewable(*memory));

    // Shown again, it may come in a new native window.
    choose(*icon, howToItem - 1);
    const std::optional<xcb_window_t> again = waitForHowTo(lumeno->pid());
    ASSERT_TRUE(again) << lumeno->log().toStdString();
    activate(*again);
    chord({control}, letterW);
    EXPECT_TRUE(waitUntil([&] { return !isViewable(*again); })) << "Ctrl+W left How to Use open";
}

TEST_F(WindowOrder, TheSetupWindowStaysBelowTheSettingsItsOpenSettingsStarts) {
    // A sound server with no microphone: the Microphone row's button opens the desktop's sound settings.
    session().sound().stop();
    const std::shared_ptr<void> restore(nullptr, [](void*) {
        session().sound().stop();
        session().sound().start();
    });
    ASSERT_TRUE(session().sound().start(desktop::SoundServer::Input::none)) << session().sound().whyNotRunning().toStdString();
    becomeReturningUser();
    QTemporaryDir tools;
    const QString pidFile = tools.filePath(QStringLiteral("settings.pid"));
    const QString toolFolder = installSettingsStandIn(tools, pidFile);
    ASSERT_FALSE(toolFolder.isEmpty());
    lumeno = launch(std::nullopt, {QStringLiteral("PATH=%1:%2").arg(toolFolder, qEnvironmentVariable("PATH"))});
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();

    // The tips first, then the setup window while they are up.
    choose(*icon, howToItem);
    const std::optional<xcb_window_t> howTo = waitForHowTo(lumeno->pid());
    ASSERT_TRUE(howTo) << lumeno->log().toStdString();
    choose(*icon, allowPermissionsItem);
    const std::optional<xcb_window_t> setup = waitForWindow(lumeno->pid(), QStringLiteral("Allow Lumeno"));
    ASSERT_TRUE(setup) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return isStackedAbove(*setup, *howTo); })) << "the window shown last is in front";
    expectOrdinaryWindow(*setup, "the setup window");

    // Accessibility is on, so the Microphone row's "Open Settings…" has the focus.
    activate(*setup);
    ASSERT_TRUE(waitUntilDrawn(*setup));
    ASSERT_TRUE(user.type(QStringLiteral(" ")));
    std::optional<xcb_window_t> settings;
    ASSERT_TRUE(waitUntil([&] {
        QFile file(pidFile);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        standInPid = file.readAll().trimmed().toLongLong();
        const std::vector<xcb_window_t> windows = windowsOf(standInPid);
        if (!windows.empty())
            settings = windows.front();
        return settings && isViewable(*settings);
    })) << "Open Settings… started no settings program\n" << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return isStackedAbove(*settings, *setup) && isStackedAbove(*settings, *howTo); }))
        << "a Lumeno window floats over the settings the user was sent to";
    // On the screen too, once a compositing manager has caught up: the settings' own colour where both lie.
    const QPoint inBoth = geometryOf(*settings).intersected(geometryOf(*setup)).center();
    EXPECT_TRUE(waitUntil([&] { return grabScreen().pixelColor(inBoth) == standInColour; }))
        << "the settings program is not what the user sees";
    screenshotOnceStill(QStringLiteral("settings-over-setup"));

    // With the tips closed, nothing of Lumeno stays on top either.
    activate(*howTo);
    user.tap(DesktopUser::escape);
    ASSERT_TRUE(waitUntil([&] { return !isViewable(*howTo); }));
    expectOrdinaryWindow(*setup, "the setup window");
    EXPECT_TRUE(isStackedAbove(*settings, *setup));
}

} // namespace

} // namespace lumeno::e2e
