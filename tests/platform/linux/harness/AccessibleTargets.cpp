#include "platform/linux/harness/AccessibleTargets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrlQuery>

namespace lumeno::desktop {

namespace {

// Mozilla's applications read `user.js` in their profile as they start.
void writePreferences(const QString& profileFolder, std::initializer_list<std::pair<const char*, const char*>> preferences) {
    QFile file(QDir(profileFolder).filePath(QStringLiteral("user.js")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    for (const auto& [name, value] : preferences)
        file.write(QStringLiteral("user_pref(\"%1\", %2);\n").arg(QLatin1String(name), QLatin1String(value)).toUtf8());
}

// Where a Mozilla application keeps what it writes besides its profile (crash reports, pings): in the
// test's folder, not the user's home.
QProcessEnvironment privateFolders(const QString& profileFolder) {
    QProcessEnvironment environment;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment.insert(QString::fromLatin1(variable), QDir(profileFolder).filePath(QString::fromLatin1(variable)));
    environment.insert(QStringLiteral("MOZ_CRASHREPORTER_DISABLE"), QStringLiteral("1"));
    return environment;
}

// The system's Python, which has GObject introspection, not whatever python3 comes first on the PATH.
QString python() {
    const QString system = QStringLiteral("/usr/bin/python3");
    return QFileInfo(system).isExecutable() ? system : QStringLiteral("python3");
}

// An installed program started with what it writes kept in `profileFolder`; null when not installed.
std::unique_ptr<AccessibleApp> installed(const QString& program, const QStringList& arguments,
                                         const QString& profileFolder, QProcessEnvironment environment = {}) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return nullptr;
    environment.insert(privateFolders(profileFolder));
    return std::make_unique<AccessibleApp>(found, arguments, environment);
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
    return chromium(profileFolder, chromiumPage(messages));
}

QUrl AccessibleTargets::webMailPage(bool plain) {
    QUrl page = QUrl::fromLocalFile(QStringLiteral(LUMENO_TARGET_FOLDER "/webmail.html"));
    if (plain)
        page.setQuery(QStringLiteral("editor=plain"));
    return page;
}

std::unique_ptr<AccessibleApp> AccessibleTargets::chromium(const QString& profileFolder, const QUrl& page) {
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
                             QStringLiteral("--app=") + page.toString()});
}

std::unique_ptr<AccessibleApp> AccessibleTargets::firefox(const QString& profileFolder, const QUrl& page) {
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("firefox-esr"));
    if (browser.isEmpty())
        return nullptr;
    // A first start without its welcome pages, notices and checks, as a profile that has been used.
    writePreferences(profileFolder, {
        {"browser.shell.checkDefaultBrowser", "false"},
        {"browser.aboutwelcome.enabled", "false"},
        {"browser.startup.homepage_override.mstone", "\"ignore\""},
        {"startup.homepage_welcome_url", "\"\""},
        {"datareporting.policy.dataSubmissionEnabled", "false"},
        {"datareporting.policy.dataSubmissionPolicyBypassNotification", "true"},
        {"toolkit.telemetry.reportingpolicy.firstRun", "false"},
        {"app.update.disabledForTesting", "true"},
        {"browser.tabs.warnOnClose", "false"},
    });
    return std::make_unique<AccessibleApp>(browser,
                                           QStringList{QStringLiteral("--no-remote"), QStringLiteral("--profile"),
                                                       profileFolder, page.toString()},
                                           privateFolders(profileFolder));
}

std::unique_ptr<AccessibleApp> AccessibleTargets::mousepad(const QString& profileFolder, const QString& document) {
    return installed(QStringLiteral("mousepad"), {QStringLiteral("--disable-server"), document}, profileFolder);
}

std::unique_ptr<AccessibleApp> AccessibleTargets::libreOfficeWriter(const QString& profileFolder,
                                                                    const QString& document) {
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("SAL_USE_VCLPLUGIN"), QStringLiteral("gtk3"));
    return installed(QStringLiteral("soffice"),
                     {QStringLiteral("--writer"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                      QStringLiteral("-env:UserInstallation=") +
                          QUrl::fromLocalFile(QDir(profileFolder).filePath(QStringLiteral("profile"))).toString(),
                      document},
                     profileFolder, environment);
}

std::unique_ptr<AccessibleApp> AccessibleTargets::kwrite(const QString& profileFolder, const QString& document) {
    return installed(QStringLiteral("kwrite"), {document}, profileFolder);
}

std::unique_ptr<AccessibleApp> AccessibleTargets::editor(const QString& program, const QString& profileFolder) {
    const QString found = QStandardPaths::findExecutable(program);
    const QString file = QDir(profileFolder).filePath(QStringLiteral("mail-from-bo.txt"));
    if (found.isEmpty() || !QFile::copy(QStringLiteral(LUMENO_TARGET_FOLDER "/mail-from-bo.txt"), file) ||
        !QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner))
        return nullptr;
    // gedit hands a file to a running instance of itself unless told to stay on its own.
    QStringList arguments{file};
    if (program == QLatin1String("gedit"))
        arguments.prepend(QStringLiteral("--standalone"));
    return std::make_unique<AccessibleApp>(found, arguments, privateFolders(profileFolder));
}

std::unique_ptr<AccessibleApp> AccessibleTargets::thunderbird(const QString& profileFolder) {
    const QString mailer = QStandardPaths::findExecutable(QStringLiteral("thunderbird"));
    if (mailer.isEmpty())
        return nullptr;
    // One local account with Ada's identity, replying above the quote in HTML, and nothing asked at start.
    QDir(profileFolder).mkpath(QStringLiteral("Mail/Local Folders"));
    writePreferences(profileFolder, {
        {"mail.account.account1.server", "\"server1\""},
        {"mail.account.account1.identities", "\"id1\""},
        {"mail.server.server1.type", "\"none\""},
        {"mail.server.server1.hostname", "\"Local Folders\""},
        {"mail.server.server1.name", "\"ada@example.com\""},
        {"mail.server.server1.userName", "\"ada\""},
        {"mail.server.server1.directory-rel", "\"[ProfD]Mail/Local Folders\""},
        {"mail.identity.id1.fullName", "\"Ada Lovelace\""},
        {"mail.identity.id1.useremail", "\"ada@example.com\""},
        {"mail.identity.id1.compose_html", "true"},
        {"mail.identity.id1.reply_on_top", "1"},
        {"mail.accountmanager.accounts", "\"account1\""},
        {"mail.accountmanager.defaultaccount", "\"account1\""},
        {"mail.accountmanager.localfoldersserver", "\"server1\""},
        {"mail.shell.checkDefaultClient", "false"},
        {"mail.provider.suppress_dialog_on_startup", "true"},
        {"mail.spotlight.firstRunDone", "true"},
        {"mailnews.start_page.enabled", "false"},
        {"mail.rights.version", "1"},
        {"datareporting.policy.dataSubmissionEnabled", "false"},
        {"datareporting.policy.dataSubmissionPolicyBypassNotification", "true"},
        {"toolkit.telemetry.reportingpolicy.firstRun", "false"},
        {"app.update.disabledForTesting", "true"},
    });
    return std::make_unique<AccessibleApp>(mailer,
                                           QStringList{QStringLiteral("--no-remote"), QStringLiteral("--profile"),
                                                       profileFolder,
                                                       QStringLiteral(LUMENO_TARGET_FOLDER "/friday-review.eml")},
                                           privateFolders(profileFolder));
}

} // namespace lumeno::desktop
