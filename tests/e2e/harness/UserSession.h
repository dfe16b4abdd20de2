#pragma once

#include "platform/linux/harness/SoundServer.h"
#include "e2e/harness/NotifierTray.h"
#include "e2e/harness/TrayHost.h"
#include "e2e/harness/XfceDesktop.h"
#include "platform/linux/harness/AccessibilityBus.h"
#include "platform/linux/harness/TestDesktop.h"

#include <QString>

namespace lumeno::e2e {

// The desktop a user of Lumeno sits at, started once per test binary (E2eMain.cpp) and shared by its
// tests: Xvfb on a free display with openbox, a session bus and the accessibility bus (accessibility on,
// as most desktops have it; a test of a stock desktop switches it off), PulseAudio with a silent default
// input, and trayer as the system tray; with LUMENO_TEST_DESKTOP=xfce, xfwm4 and xfce4-panel instead of openbox
// and trayer (see XfceDesktop). Everything is stopped by pid at the end, and by the kernel should
// the test process die. Tests that change a piece (no tray, no sound) put it back before they end.
class UserSession {
public:
    UserSession();
    ~UserSession();

    static UserSession& instance();

    // Starts the X server (before the QApplication exists)...
    bool startServer();
    // ...then, with the QApplication, everything else. False, with whyNotRunning(), when a piece failed.
    bool startDesktop();
    void stop();

    bool isRunning() const { return running_; }
    const QString& whyNotRunning() const { return whyNot_; }

    desktop::TestDesktop& x() { return desktop_; }
    desktop::AccessibilityBus& accessibility() { return desktop::AccessibilityBus::instance(); }
    desktop::SoundServer& sound() { return sound_; }
    TrayHost& tray() { return tray_; }
    // Not running unless a test starts it (and stops it again before it ends).
    NotifierTray& notifierTray() { return notifierTray_; }
    // The XFCE desktop's window manager and panel, running when isXfce().
    bool isXfce() const { return XfceDesktop::isChosen(); }
    XfceDesktop& xfce() { return xfce_; }

private:
    bool fail(const QString& why);

    desktop::TestDesktop desktop_;
    desktop::SoundServer sound_;
    TrayHost tray_;
    NotifierTray notifierTray_;
    XfceDesktop xfce_;
    bool running_ = false;
    QString whyNot_;
};

} // namespace lumeno::e2e
