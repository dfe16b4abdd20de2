#pragma once

#include <QObject>

#include <optional>

namespace lumeno {

// Whether the desktop runs a tray that can show the program's icon, and when that changes: a tray may start
// after the program (a panel that comes up late at login), stop, and come back.
class TrayWatch : public QObject {
    Q_OBJECT
public:
    // None while still finding out (asking the session bus takes a moment at the start).
    virtual std::optional<bool> isAvailable() const = 0;
    // The two kinds: an XEmbed tray manager on the screen, a status-notifier host on the session bus.
    virtual bool hasTrayManager() const = 0;
    virtual bool hasNotifierHost() const = 0;

signals:
    // The first answer came, a tray appeared, or the last one went away.
    void availabilityChanged();
};

} // namespace lumeno
