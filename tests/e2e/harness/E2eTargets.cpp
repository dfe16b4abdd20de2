#include "e2e/harness/E2eTargets.h"

#include <QFileInfo>

namespace lumeno::e2e {

namespace {

// The system's Python, which has GObject introspection, not whatever python3 comes first on the PATH.
QString python() {
    const QString system = QStringLiteral("/usr/bin/python3");
    return QFileInfo(system).isExecutable() ? system : QStringLiteral("python3");
}

} // namespace

std::unique_ptr<desktop::AccessibleApp> E2eTargets::gtkMail() {
    return std::make_unique<desktop::AccessibleApp>(python(), QStringList{QStringLiteral(LUMENO_GTK_MAIL_TARGET)});
}

std::unique_ptr<desktop::AccessibleApp> E2eTargets::gtkLogin() {
    return std::make_unique<desktop::AccessibleApp>(
        python(), QStringList{QStringLiteral(LUMENO_GTK_MAIL_TARGET), QStringLiteral("login")});
}

std::unique_ptr<desktop::AccessibleApp> E2eTargets::xterm() {
    return std::make_unique<desktop::AccessibleApp>(
        QStringLiteral("xterm"), QStringList{QStringLiteral("-title"), QStringLiteral("Terminal"), QStringLiteral("-e"),
                                             QStringLiteral("/bin/sh")});
}

} // namespace lumeno::e2e
