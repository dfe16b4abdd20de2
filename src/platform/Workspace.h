#pragma once

#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace lumeno {

// An application running on the desktop, as the program identifies it.
struct RunningApplication {
    qint64 pid = 0;
    QString applicationId; // lower-case .desktop id or WM_CLASS, e.g. "org.gnome.evolution"
    QString name;          // what the user sees, e.g. "Evolution"
    QString windowTitle;   // of its window in front; empty when the desktop does not say
    bool operator==(const RunningApplication&) const = default;
};

// The desktop session around the program: which application is in front, and the desktop's own settings.
class Workspace {
public:
    enum class SettingsPage { microphone, accessibility };

    virtual ~Workspace() = default;

    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    virtual qint64 ownProcessId() const = 0;
    // The applications with a window on the desktop now, one entry each; none where the desktop does not
    // say.
    virtual std::vector<RunningApplication> openApplications() const { return {}; }
    // Opens the desktop's settings page for a permission. None when a tool for it started; else what the
    // user can do instead, in a sentence or two to show them.
    virtual std::optional<QString> openSettingsPage(SettingsPage page) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace lumeno
