#include "linux/harness/AccessibleTargets.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrlQuery>

namespace lumeno::desktop {

namespace {

// The system's Python, which has GObject introspection, not whatever python3 comes first on the PATH.
QString python() {
    const QString system = QStringLiteral("/usr/bin/python3");
    return QFileInfo(system).isExecutable() ? system : QStringLiteral("python3");
}

} // namespace

std::unique_ptr<AccessibleApp> AccessibleTargets::qt(int messages) {
    return std::make_unique<AccessibleApp>(QStringLiteral(LUMENO_CONVERSATION_TARGET),
                                           QStringList{QStringLiteral("--messages"), QString::number(messages)});
}

std::unique_ptr<AccessibleApp> AccessibleTargets::gtk(const QString& draft, int messages) {
    return std::make_unique<AccessibleApp>(python(), QStringList{QStringLiteral(LUMENO_GTK_TARGET), draft,
                                                                 QString::number(messages)});
}

QUrl AccessibleTargets::chromiumPage(int messages) {
    QUrl page = QUrl::fromLocalFile(QStringLiteral(LUMENO_CHROMIUM_PAGE));
    if (messages != 3)
        page.setQuery(QStringLiteral("messages=%1").arg(messages));
    return page;
}

std::unique_ptr<AccessibleApp> AccessibleTargets::chromium(const QString& profileFolder, int messages) {
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (browser.isEmpty())
        return nullptr;
    // Page content reaches the bus only with --force-renderer-accessibility; the tests run as root in CI,
    // where Chromium's sandbox cannot start.
    return std::make_unique<AccessibleApp>(
        browser, QStringList{QStringLiteral("--force-renderer-accessibility"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--test-type"), QStringLiteral("--no-first-run"),
                             QStringLiteral("--no-default-browser-check"), QStringLiteral("--disable-gpu"),
                             QStringLiteral("--disable-dev-shm-usage"), QStringLiteral("--password-store=basic"),
                             QStringLiteral("--user-data-dir=") + profileFolder,
                             QStringLiteral("--app=") + chromiumPage(messages).toString()});
}

} // namespace lumeno::desktop
