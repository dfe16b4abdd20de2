#pragma once

#include "platform/Workspace.h"

#include <QStringList>
#include <functional>

namespace lumeno {

// The Linux desktop session. Settings pages open in the desktop's own tool (GNOME Settings, KDE System
// Settings, or the common stand-alone tools), found on PATH. The frontmost application is not known yet:
// that needs the window system.
class LinuxWorkspace final : public Workspace {
public:
    // Starts a program detached from this one; false when it could not be started.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    explicit LinuxWorkspace(QString currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP"));

    std::optional<RunningApplication> frontmostApplication() const override { return std::nullopt; }
    qint64 ownProcessId() const override;
    bool openSettingsPage(SettingsPage page) override;
    bool openUrl(const QUrl& url) override;

    Launcher launch;

private:
    struct Tool {
        QString program;
        QStringList arguments;
    };
    std::vector<Tool> toolsFor(SettingsPage page) const;
    bool launchFirstAvailable(const std::vector<Tool>& tools);

    bool isKde_;
};

} // namespace lumeno
