#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::e2e {

// The XFCE desktop, chosen with LUMENO_TEST_DESKTOP=xfce: xfwm4 manages the windows and xfce4-panel runs
// along the top with its notification area, which is both kinds of tray at once (the XEmbed tray selection,
// and the status-notifier watcher with its host). Both read a private configuration through their own
// xfconfd, so nothing of a real session is read or changed.
class XfceDesktop {
public:
    XfceDesktop();
    ~XfceDesktop();

    // Whether LUMENO_TEST_DESKTOP asks for this desktop.
    static bool isChosen();

    // Writes the configuration, starts xfconfd and xfwm4 and waits until xfwm4 manages the screen; needs the
    // session bus. False, with whyNotRunning(), when a piece failed.
    bool startWindowManager();
    // Starts xfce4-panel and waits until it is on screen and holds both kinds of tray.
    bool startPanel();
    // Stops it and waits until both kinds of tray are gone.
    void stopPanel();
    bool isPanelRunning() const { return panel_.isRunning(); }
    qint64 panelPid() const { return panel_.pid(); }
    void stop();
    const QString& whyNotRunning() const { return whyNot_; }

    // Whether the screen's tray selection has an owner, and a status-notifier host is registered.
    bool hasTrayManager();
    static bool hasNotifierHost();

private:
    bool fail(const QString& why);
    bool writeConfiguration();
    bool ownerOf(const char* selection);
    bool isPanelShown();

    QTemporaryDir configuration_;
    std::shared_ptr<XcbConnection> x_;
    desktop::ChildProcess settingsDaemon_;
    desktop::ChildProcess windowManager_;
    desktop::ChildProcess panel_;
    QString whyNot_;
};

} // namespace lumeno::e2e
