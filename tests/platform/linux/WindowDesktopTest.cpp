#include "platform/linux/harness/DesktopTest.h"

#include "platform/linux/QtScreenInfo.h"
#include "platform/linux/XcbConnection.h"
#include "shell/FixedWindow.h"
#include "shell/SettingsWindow.h"
#include "shell/SetupView.h"
#include "shell/ShellFixture.h"
#include "testsupport/Screenshots.h"

namespace lumeno::desktop {
namespace {

// Our windows as the window manager treats them.
class WindowDesktopTest : public DesktopTest {
protected:
    // A window manager that has just started can be slow to take its first window on a busy machine.
    static constexpr int managePatienceMs = 4 * patienceMs;

    // What the window manager lets the user do with `window`, once it manages it: the names of its
    // _NET_WM_ALLOWED_ACTIONS.
    QStringList allowedActions(QWidget& window) {
        QStringList names;
        waitUntil([&] {
            names.clear();
            const auto actions = x->reply(xcb_get_property_reply,
                                          xcb_get_property(x->get(), 0, xcb_window_t(window.winId()),
                                                           x->atom("_NET_WM_ALLOWED_ACTIONS"), XCB_ATOM_ATOM, 0, 64));
            if (!actions)
                return false;
            const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(actions.get()));
            for (int i = 0; i < xcb_get_property_value_length(actions.get()) / int(sizeof(xcb_atom_t)); ++i) {
                const auto name = x->reply(xcb_get_atom_name_reply, xcb_get_atom_name(x->get(), atoms[i]));
                if (name)
                    names << QString::fromLatin1(xcb_get_atom_name_name(name.get()),
                                                 xcb_get_atom_name_name_length(name.get()));
            }
            return names.contains(QStringLiteral("_NET_WM_ACTION_CLOSE"));
        }, managePatienceMs);
        return names;
    }

    void expectFixed(QWidget& window, const QString& picture) {
        makeFixedWindow(window);
        window.show();
        const QStringList actions = allowedActions(window);
        // The title bar the window manager draws around it.
        QCoreApplication::processEvents();
        screenshots::save(grabScreen().copy(window.frameGeometry().adjusted(-8, -8, 8, 8)), picture);
        EXPECT_TRUE(actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE"))) << actions.join(' ').toStdString();
        // Openbox offers minimising to every normal window whatever the hints say, and draws a maximise button
        // that cannot maximise in its disabled look.
        for (const char* refused :
             {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
            EXPECT_FALSE(actions.contains(QLatin1String(refused))) << refused << " in " << actions.join(' ').toStdString();
        window.close();
    }

    ShellServices shell;
    std::shared_ptr<XcbConnection> x = XcbConnection::open();
};

TEST_F(WindowDesktopTest, FixedSizeWindowsCanNeitherBeResizedNorMaximised) {
    SetupView setup(shell.permissions, shell.scheduler, shell.settings);
    expectFixed(setup, QStringLiteral("desktop-setup-window-frame"));
    QtScreenInfo screens;
    SettingsWindow tabs([](SettingsTab) { return new QWidget; }, screens);
    expectFixed(tabs, QStringLiteral("desktop-settings-window-frame"));
}

} // namespace
} // namespace lumeno::desktop
