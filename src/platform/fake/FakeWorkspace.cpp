#include "platform/fake/FakeWorkspace.h"

namespace lumeno {

std::optional<QString> FakeWorkspace::openSettingsPage(SettingsPage page) {
    if (!canOpen)
        return withoutTool;
    openedPages.push_back(page);
    return std::nullopt;
}

bool FakeWorkspace::openUrl(const QUrl& url) {
    if (canOpen)
        openedUrls.push_back(url);
    return canOpen;
}

} // namespace lumeno
