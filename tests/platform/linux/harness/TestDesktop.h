#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::desktop {

// A real X desktop for the tests: Xvfb on a display it picks itself, and openbox managing its windows
// (xfwm4 instead when $LUMENO_TEST_WM is "xfwm4").
// One per test binary: the server must run before the QApplication connects to it, so the binary's main
// starts it (see DesktopTestMain.cpp) and every test reaches it through instance().
class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();

    static TestDesktop& instance();

    // Starts Xvfb and points DISPLAY at it; false (with whyNotRunning()) when no server can start.
    bool startServer();
    // Starts the window manager and waits until it manages the screen; needs the QApplication.
    bool startWindowManager();
    void stop();

    // Starts a compositing manager (xcompmgr) and waits until it owns the screen; false (with
    // whyNotRunning()) when it cannot. It runs until stopCompositor() or the end of the tests.
    bool startCompositor();
    // Stops it and waits until the screen has no compositing manager.
    void stopCompositor();
    static bool hasCompositingManager(XcbConnection& x);

    // Another X server without a window manager, for tests of a bare display; none when it cannot start.
    // It runs until the returned process is destroyed.
    struct BareServer {
        std::unique_ptr<ChildProcess> process;
        QByteArray display;
    };
    std::optional<BareServer> startBareServer();

    // The screen's size, "1280x800" unless $LUMENO_TEST_SCREEN asks for another ("1024x768").
    static QString screenSize();

    bool isRunning() const { return server_.isRunning() && windowManager_.isRunning(); }
    const QString& whyNotRunning() const { return whyNot_; }
    const QByteArray& display() const { return display_; }

private:
    bool startXfwm4();
    // Starts Xvfb in `process`; the display name once it accepts clients.
    std::optional<QByteArray> launchServer(ChildProcess& process);

    ChildProcess server_;
    ChildProcess windowManager_;
    ChildProcess compositor_;
    QTemporaryDir configuration_;
    QByteArray display_;
    QString whyNot_;
};

} // namespace lumeno::desktop
