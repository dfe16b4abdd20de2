#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// Which desktop session the program was started in, and whether it can do its work there: it needs an X
// server for the hot key, the synthetic keys, the clipboard protocol and the frontmost window.
struct DesktopSession {
    QString type;             // $XDG_SESSION_TYPE: "x11", "wayland", "tty" or empty
    QString display;          // $DISPLAY
    bool displayReachable = false;

    static DesktopSession fromEnvironment(bool displayReachable);

    // Why the program cannot work here, for the user; none when an X server answers.
    std::optional<QString> unsupportedReason() const;
    // What does not work although an X server answers; none in an X11 session.
    std::optional<QString> limitation() const;

    bool operator==(const DesktopSession&) const = default;
};

} // namespace lumeno
