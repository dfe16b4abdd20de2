#pragma once

#include "TestServer.h"
#include "e2e/harness/E2eTargets.h"
#include "e2e/harness/LumenoHome.h"
#include "e2e/harness/LumenoProcess.h"
#include "e2e/harness/UserSession.h"
#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/harness/DesktopUser.h"

#include <QImage>
#include <QStringList>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include <xcb/xcb.h>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::e2e {

// Base of every end-to-end test: the shared desktop (UserSession), and for each test a fresh home, a
// loopback server and the user's hands. A test launches Lumeno itself, as the user would, and looks at
// what happened the way the user can: windows on the screen, text in a field, the clipboard, files, the
// log, and what the server received.
//
// When the desktop could not start, the tests skip saying why; under CI (CI=true) they fail instead.
class E2eTest : public ::testing::Test {
public:
    // How long something the user waits for may take on a loaded machine: bounded, so a broken program
    // fails instead of hanging.
    static constexpr int patienceMs = 15000;

    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = patienceMs);

protected:
    E2eTest();
    ~E2eTest() override;
    void SetUp() override;

    static UserSession& session() { return UserSession::instance(); }

    // Lumeno with this test's home, the loopback server and, unless told otherwise, `speech` as what the
    // microphone hears.
    std::unique_ptr<LumenoProcess> launch(std::optional<QString> audioFile, QStringList environment = {});
    // A signed-in user who has been through the guide, the common start of a dictation test.
    void becomeReturningUser(const QString& email = QStringLiteral("ada@example.com"),
                             const QString& name = QStringLiteral("Ada Lovelace"));

    // `text` spoken by espeak-ng into a WAV file, made once per test binary and text.
    static QString spoken(const QString& text);

    // The top-level windows of process `pid` (managed by the window manager) whose title contains `title`.
    std::vector<xcb_window_t> windowsOf(qint64 pid, const QString& title = {});
    std::optional<xcb_window_t> waitForWindow(qint64 pid, const QString& title, int timeoutMs = patienceMs);
    // Whether the window manager stacks `upper` above `lower` (both managed windows).
    bool isStackedAbove(xcb_window_t upper, xcb_window_t lower);
    bool isViewable(xcb_window_t window);
    QRect geometryOf(xcb_window_t window);
    QString titleOf(xcb_window_t window);
    // WM_CLASS: the instance and class names; none when the window has none.
    std::optional<X11WindowInfo::WindowClass> windowClassOf(xcb_window_t window);
    // The names of the atoms in an ATOM property of `window`, e.g. _NET_WM_STATE ("_NET_WM_STATE_ABOVE", …)
    // or _NET_WM_WINDOW_TYPE; empty when it has none.
    QStringList atomsOf(xcb_window_t window, const char* property);
    // The largest of the icons the window gives the window manager and task bars (_NET_WM_ICON); a null
    // image when it gives none, and the desktop shows its generic one.
    QImage iconOf(xcb_window_t window);
    // Brings `window` to the front with the keyboard focus, as a click on it in a task bar does.
    void activate(xcb_window_t window);
    // Asks the window manager to close `window`, as the close button of its title bar does.
    void closeWindow(xcb_window_t window);
    // The window the window manager marks active.
    std::optional<xcb_window_t> activeWindow();
    // Clicks the control of process `pid` named `name` (found on the accessibility bus) once it shows;
    // false when it never did.
    bool clickOn(qint64 pid, const QString& name);
    // Pop-ups of process `pid` on screen now (menus, the overlay): unmanaged, mapped top-level windows.
    std::vector<xcb_window_t> popupsOf(qint64 pid);

    // The user copies `text` and `image` (both kinds at once, as from a rich editor); this process owns
    // the clipboard until someone else copies.
    void copyToClipboard(const QString& text, const QImage& image);
    // Waits until the clipboard holds exactly that text and an image equal to `image`.
    bool waitForClipboard(const QString& text, const QImage& image);

    // The screen, or the part of it in `area`.
    static QImage grabScreen(const QRect& area = {});
    // Saves the whole screen as e2e-<test name>-<name>.png in the screenshot folder; its path.
    QString screenshot(const QString& name);
    // Waits until `window` has drawn itself and that is on the screen: a window maps before it draws, showing
    // what was beneath it until then, and a menu takes the keyboard by then.
    bool waitUntilDrawn(xcb_window_t window);
    // The screenshot, once `window` is painted.
    QString screenshotOnceDrawn(xcb_window_t window, const QString& name);
    // The same once the screen has stopped changing (two looks in a row see the same picture): what an
    // application reports reaches the screen a moment later.
    QString screenshotOnceStill(const QString& name);

    testing::TestServer server;
    LumenoHome home;
    desktop::DesktopUser user;

private:
    // Sends the window manager `request` about `window`, saying in field `sourceField` that it comes from
    // a pager (the user's own action).
    void askWindowManager(xcb_window_t window, const char* request, int sourceField);

    std::shared_ptr<XcbConnection> x_;
};

} // namespace lumeno::e2e
