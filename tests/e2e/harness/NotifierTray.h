#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>
#include <QStringList>

namespace lumeno::e2e {

// A status-notifier tray on the session bus, as panels that show StatusNotifierItems have it: Debian's
// status-notifier-watcher as org.kde.StatusNotifierWatcher, and gtk-sni-tray-standalone as the host that
// shows the items, in a bar along the bottom of the screen. Not running until a test starts it.
class NotifierTray {
public:
    NotifierTray() = default;
    ~NotifierTray();

    // Starts the watcher, then the host, and waits until the host has registered; false (with
    // whyNotRunning()) otherwise.
    bool start();
    // Stops both and waits until the watcher has left the bus.
    void stop();
    bool isRunning() const { return host_.isRunning(); }
    const QString& whyNotRunning() const { return whyNot_; }
    // The host's process, whose bar shows the items.
    qint64 hostPid() const { return host_.pid(); }

    // The items registered by process `pid` (their bus names and paths, as the watcher lists them), with
    // this tray's watcher or any other (a panel's).
    static QStringList itemsOf(qint64 pid);

private:
    bool fail(const QString& why);

    desktop::ChildProcess watcher_;
    desktop::ChildProcess host_;
    QString whyNot_;
};

} // namespace lumeno::e2e
