#pragma once

#include <QObject>
#include <QWindow>

#include <optional>

namespace lumeno {

// The trays of the desktop, each kind on its own: a panel may run both (XFCE's notification area does), one,
// or none; a tray may start after the program, stop, come back, or be replaced by another program's.
class TrayWatch : public QObject {
    Q_OBJECT
public:
    enum class Kind {
        trayManager,  // an XEmbed tray: a program owning the screen's _NET_SYSTEM_TRAY_S<n> selection
        notifierHost, // a status-notifier host, registered with the watcher on the session bus
    };
    Q_ENUM(Kind)

    // Whether a tray of `kind` runs; none while still finding out (the session bus answers a moment later).
    virtual std::optional<bool> has(Kind kind) const = 0;
    // Asks the tray manager running now to take `window` in; false when none runs.
    virtual bool dock(const QWindow& window) = 0;

signals:
    // The first answer about `kind` came, a tray of that kind appeared or went away, or another program's
    // took its place (a panel that restarted): an icon shown there must be shown anew.
    void changed(lumeno::TrayWatch::Kind kind);
};

} // namespace lumeno
