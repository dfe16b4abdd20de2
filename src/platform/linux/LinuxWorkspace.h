#pragma once

#include "platform/Workspace.h"

#include <QStringList>
#include <functional>

namespace lumeno {

// The Linux desktop session. Settings pages open in the desktop's own tool (GNOME Settings, KDE System
// Settings, or the common stand-alone tools), found on PATH. The frontmost application comes from the
// window system, through `frontmost`.
class LinuxWorkspace final : public Workspace {
public:
    // Starts a program detached from this one; false when it could not be started.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    explicit LinuxWorkspace(QString currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP"));

    std::optional<RunningApplication> frontmostApplication() const override { return frontmost(); }
    std::vector<RunningApplication> openApplications() const override { return open(); }
    qint64 ownProcessId() const override;
    std::optional<QString> openSettingsPage(SettingsPage page) override;
    bool openUrl(const QUrl& url) override;

    Launcher launch;
    // Reads the application in front; none until a window system is installed.
    std::function<std::optional<RunningApplication>()> frontmost = [] { return std::nullopt; };
    // Reads the applications with windows; none until a window system is installed.
    std::function<std::vector<RunningApplication>()> open = [] { return std::vector<RunningApplication>(); };

private:
    struct Tool {
        QString program;
        QStringList arguments;
    };
    std::vector<Tool> toolsFor(SettingsPage page) const;
    // What to do when none of the tools is there: install the stand-alone one, which runs on any desktop.
    static QString withoutTools(SettingsPage page);
    bool launchFirstAvailable(const std::vector<Tool>& tools);

    bool isKde_;
};

} // namespace lumeno
