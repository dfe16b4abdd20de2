#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include <xcb/xcb.h>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::e2e {

// The system tray of the test desktop: trayer, a stand-alone XEMBED tray from Debian, in a strip along the
// top of the screen. It can be stopped and started again, for the tests of a desktop without a tray.
class TrayHost {
public:
    TrayHost();
    ~TrayHost();

    // Starts trayer and waits until it owns the tray selection; false (with whyNotRunning()) otherwise.
    bool start();
    // Stops it and waits until the tray selection is free again.
    void stop();
    bool isRunning() const;
    const QString& whyNotRunning() const { return whyNot_; }

    // The windows docked in the tray that belong to process `pid`, mapped and embedded.
    std::vector<xcb_window_t> iconsOf(qint64 pid);
    // Where a docked window is on the screen (its centre), for the user's clicks.
    std::optional<std::pair<int, int>> centreOf(xcb_window_t window);

private:
    std::optional<xcb_window_t> selectionOwner();

    std::shared_ptr<XcbConnection> x_;
    desktop::ChildProcess trayer_;
    QString whyNot_;
};

} // namespace lumeno::e2e
