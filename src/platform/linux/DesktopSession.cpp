#include "platform/linux/DesktopSession.h"

#include <QtGlobal>

namespace lumeno {

DesktopSession DesktopSession::fromEnvironment(bool displayReachable) {
    return {qEnvironmentVariable("XDG_SESSION_TYPE").toLower(), qEnvironmentVariable("DISPLAY"), displayReachable};
}

std::optional<QString> DesktopSession::unsupportedReason() const {
    if (displayReachable)
        return std::nullopt;
    if (type == QLatin1String("wayland") && display.isEmpty())
        return QStringLiteral("Lumeno doesn't support Wayland sessions yet: Wayland lets no program watch a hot "
                              "key, paste into other apps or see which app is in front. Log in with an X11 "
                              "(Xorg) session to use Lumeno.");
    if (display.isEmpty())
        return QStringLiteral("Lumeno needs an X11 desktop, and no X display is set (DISPLAY is empty).");
    return QStringLiteral("Lumeno couldn't connect to the X display %1.").arg(display);
}

std::optional<QString> DesktopSession::limitation() const {
    if (!displayReachable || type != QLatin1String("wayland"))
        return std::nullopt;
    return QStringLiteral("This is a Wayland session: Lumeno sees the hot key and pastes only while an app "
                          "running through XWayland is in front.");
}

} // namespace lumeno
