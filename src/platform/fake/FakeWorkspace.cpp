#include "platform/fake/FakeWorkspace.h"

namespace lumeno {

bool FakeWorkspace::openSettingsPage(SettingsPage page) {
    if (canOpen)
        openedPages.push_back(page);
    return canOpen;
}

bool FakeWorkspace::openUrl(const QUrl& url) {
    if (canOpen)
        openedUrls.push_back(url);
    return canOpen;
}

} // namespace lumeno
