#pragma once

#include "platform/Workspace.h"

#include <vector>

namespace lumeno {

// A desktop session the test scripts: which applications are open and which is in front, and a record of
// every settings page and address the program opened.
class FakeWorkspace final : public Workspace {
public:
    std::optional<RunningApplication> frontmostApplication() const override { return frontmost; }
    qint64 ownProcessId() const override { return ownPid; }
    std::vector<RunningApplication> openApplications() const override { return open; }
    std::optional<QString> openSettingsPage(SettingsPage page) override;
    bool openUrl(const QUrl& url) override;

    std::optional<RunningApplication> frontmost;
    qint64 ownPid = 4242;
    std::vector<RunningApplication> open; // the applications with a window, the program among them or not
    bool canOpen = true; // false: the desktop has no tool for it
    QString withoutTool = QStringLiteral("Install the settings app."); // what to do then
    std::vector<SettingsPage> openedPages;
    std::vector<QUrl> openedUrls;
};

} // namespace lumeno
