#include "platform/linux/LinuxWorkspace.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace lumeno {

LinuxWorkspace::LinuxWorkspace(QString currentDesktop)
    : launch([](const QString& program, const QStringList& arguments) {
          return QProcess::startDetached(program, arguments);
      }),
      isKde_(currentDesktop.split(u':').contains(QStringLiteral("KDE"), Qt::CaseInsensitive)) {}

qint64 LinuxWorkspace::ownProcessId() const {
    return QCoreApplication::applicationPid();
}

std::optional<QString> LinuxWorkspace::openSettingsPage(SettingsPage page) {
    if (launchFirstAvailable(toolsFor(page)))
        return std::nullopt;
    return withoutTools(page);
}

bool LinuxWorkspace::openUrl(const QUrl& url) {
    return launchFirstAvailable({{QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)}}});
}

// The running desktop's own tool first; then any desktop's, since many people run one desktop's settings
// under another; then the stand-alone tools.
std::vector<LinuxWorkspace::Tool> LinuxWorkspace::toolsFor(SettingsPage page) const {
    const bool microphone = page == SettingsPage::microphone;
    const Tool gnome{QStringLiteral("gnome-control-center"),
                     {microphone ? QStringLiteral("sound") : QStringLiteral("universal-access")}};
    const Tool kde{QStringLiteral("systemsettings"),
                   {microphone ? QStringLiteral("kcm_pulseaudio") : QStringLiteral("kcm_access")}};
    const Tool standalone = microphone ? Tool{QStringLiteral("pavucontrol"), {QStringLiteral("--tab=4")}}
                                       : Tool{QStringLiteral("xfce4-accessibility-settings"), {}};
    if (isKde_)
        return {kde, gnome, standalone};
    return {gnome, kde, standalone};
}

QString LinuxWorkspace::withoutTools(SettingsPage page) {
    if (page == SettingsPage::microphone)
        return QStringLiteral("No sound settings app is installed. Install pavucontrol, then pick your microphone "
                              "on its Input Devices tab.");
    return QStringLiteral("No accessibility settings app is installed. Install xfce4-settings, then turn on "
                          "assistive technologies in its Accessibility settings.");
}

bool LinuxWorkspace::launchFirstAvailable(const std::vector<Tool>& tools) {
    for (const Tool& tool : tools) {
        const QString program = QStandardPaths::findExecutable(tool.program);
        if (!program.isEmpty() && launch(program, tool.arguments))
            return true;
    }
    return false;
}

} // namespace lumeno
