#include "e2e/harness/LumenoHome.h"

#include "TestServer.h"
#include "account/AccountSession.h"
#include "foundation/SettingsKeys.h"
#include "platform/linux/LinuxDefaultsStore.h"
#include "support/AtomicFile.h"
#include "support/Clock.h"

#include <QDir>
#include <QFile>
#include <QUuid>

namespace lumeno::e2e {

namespace {

// The owner-only folders the program itself would make.
void makePrivateFolder(const QString& path) {
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

LumenoHome::LumenoHome() : path_(folder_.path()) {
    makePrivateFolder(runtimeFolder());
}

QString LumenoHome::runtimeFolder() const {
    return QDir(path_).filePath(QStringLiteral(".run"));
}

QString LumenoHome::configFolder() const {
    return QDir(path_).filePath(QStringLiteral(".config"));
}

QString LumenoHome::dataFolder() const {
    return QDir(path_).filePath(QStringLiteral(".local/share"));
}

QString LumenoHome::supportFile(const QString& name) const {
    return QDir(dataFolder()).filePath(QStringLiteral("Lumeno/") + name);
}

void LumenoHome::signIn(testing::TestServer& server, const QString& email, const QString& name) {
    const QString token = QStringLiteral("tok-") + QUuid::createUuid().toString(QUuid::Id128);
    server.addSession(email, name, token);
    makePrivateFolder(QFileInfo(supportFile({})).path());
    const AccountSession session{token, ServerAPI::User{QStringLiteral("u-") + email, email, name}, std::nullopt};
    AtomicFile::write(supportFile(QStringLiteral("session.json")), session.encoded());
}

void LumenoHome::finishGuide() {
    setSetting(SettingsKey::hasSeenGuide, true);
    setSetting(SettingsKey::hasCompletedSetup, true);
    setSetting(SettingsKey::hasChosenSpeechLanguage, true);
    setSetting(SettingsKey::speechLocale, QStringLiteral("en-US"));
}

void LumenoHome::setSetting(const QString& key, const QJsonValue& value) {
    makePrivateFolder(QDir(configFolder()).filePath(QStringLiteral("Lumeno")));
    const SystemClock clock;
    LinuxDefaultsStore(QDir(configFolder()).filePath(QStringLiteral("Lumeno/defaults.json")), clock).set(key, value);
}

void LumenoHome::installApplication(const QString& id, const QString& name, const QString& windowClass) {
    const QString folder = QDir(dataFolder()).filePath(QStringLiteral("applications"));
    QDir().mkpath(folder);
    QFile entry(QDir(folder).filePath(id + QStringLiteral(".desktop")));
    if (entry.open(QIODevice::WriteOnly))
        entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nStartupWMClass=%2\n")
                        .arg(name, windowClass)
                        .toUtf8());
}

} // namespace lumeno::e2e
