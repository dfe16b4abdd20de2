#pragma once

#include "app/InstanceLock.h"
#include "foundation/AppBundle.h"
#include "foundation/SettingsStore.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/linux/QtHttpTransport.h"
#include "support/ManualScheduler.h"
#include "updates/FeedServer.h"
#include "updates/SoftwareUpdate.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

namespace lumeno::testing {

// Whether process `pid` still runs (one that ended and waits for its parent to notice does not).
inline bool runs(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

// A program installed in a temporary prefix at version 1.0.0, a release 1.1.0 of it built and signed with
// a key made here by scripts/release-sign.sh, and a loopback server for the feed and the archive. The
// one-copy lock is held as the running program holds it.
class UpdateFixture : public ::testing::Test {
protected:
    UpdateFixture() {
        QDir().mkpath(runtime);
        EXPECT_TRUE(instance.acquire());
        key = run({"keygen", temp.filePath("keys")}).trimmed();
        installed = temp.filePath("prefix/lib/lumeno");
        writeProgram(installed, "1.0.0", key);
        archive = buildArchive("1.1.0", key);
        serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")));
    }

    // The release script, with the arguments given; its standard output.
    QByteArray run(const QStringList& arguments) {
        QProcess script;
        script.start(QStringLiteral(LUMENO_RELEASE_SIGN), arguments);
        EXPECT_TRUE(script.waitForFinished(30000));
        EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
        return script.readAllStandardOutput();
    }

    // What the release's program does once it has written started.txt.
    static constexpr const char* endsAtOnce = "exit 127";
    static constexpr const char* neverTakesOver = "exec tail -f /dev/null";
    // Says it runs as the new version does, and waits until the old one hangs up.
    QString takesOver() const {
        return QStringLiteral("exec python3 -c 'import socket; s = socket.socket(socket.AF_UNIX); s.connect(\"%1\"); "
                              "s.send(b\"started\\n\"); s.recv(1)'")
            .arg(handoverSocket());
    }
    QString handoverSocket() const { return QDir(runtime).filePath("lumeno.handover"); }
    QString failedUpdateFile() const { return temp.filePath("failed-update.json"); }

    // An application folder: a program that writes its version and arguments to started.txt beside the
    // prefix and then does `then`, and its bundle, which says the folder was installed in place unless told
    // otherwise.
    void writeProgram(const QString& folder, const QString& version, const QByteArray& publicKey,
                      const QString& installation = QStringLiteral("install"), const QString& then = endsAtOnce) {
        QDir().mkpath(folder);
        QFile program(QDir(folder).filePath("lumeno"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write(QStringLiteral("#!/bin/sh\necho \"%1 $*\" > '%2'\n%3\n").arg(version, temp.filePath("started.txt"), then).toUtf8());
        program.close();
        program.setPermissions(program.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        QFile bundle(QDir(folder).filePath("bundle.properties"));
        ASSERT_TRUE(bundle.open(QIODevice::WriteOnly));
        bundle.write(QStringLiteral("identifier=app.lumeno.Lumeno\nversion=%1\ndisplay-version=%1\nfeed=\npublic-key=%2\n"
                                    "installation=%3\n")
                         .arg(version, QString::fromLatin1(publicKey), installation)
                         .toUtf8());
    }

    // Serves 1.1.0 as a release whose program does `then` once started.
    void serveReleaseThat(const QString& then) {
        const QByteArray bytes = releaseThat("1.1.0", then);
        serveRelease(signedItem(bytes, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")), bytes);
    }

    // An installable release of `version` whose program does `then` once started.
    QByteArray releaseThat(const QString& version, const QString& then) {
        return buildArchive(version, key, QStringLiteral("install"), {}, then);
    }

    // The release archive of `version`: lumeno/ holding the program and its bundle, and a file of `padding`
    // when given (a larger release).
    QByteArray buildArchive(const QString& version, const QByteArray& publicKey,
                            const QString& installation = QStringLiteral("install"), const QByteArray& padding = {},
                            const QString& then = endsAtOnce) {
        const QString root = temp.filePath("release-" + version);
        writeProgram(QDir(root).filePath("lumeno"), version, publicKey, installation, then);
        if (!padding.isEmpty()) {
            QFile file(QDir(root).filePath("lumeno/padding"));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(padding);
        }
        const QString path = temp.filePath("lumeno-" + version + ".tar.gz");
        EXPECT_EQ(QProcess::execute("tar", {"-czf", path, "-C", root, "lumeno"}), 0);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QByteArray signedItem(const QByteArray& bytes, const QString& version, const QString& displayVersion,
                          const QString& privateKey, const QUrl& url = {}) {
        const QString path = temp.filePath("signing.tar.gz");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        return run({"sign", privateKey, path, version, displayVersion,
                    (url.isEmpty() ? server.url("/lumeno.tar.gz") : url).toString(), "--description",
                    "<ul><li>Replies keep your sign-off.</li><li>Faster start.</li></ul>"});
    }

    static QByteArray feedOf(const QByteArray& items) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
               "xmlns:lumeno=\"https://lumeno.app/xml/update\"><channel><title>Lumeno</title>\n" +
               items + "</channel></rss>\n";
    }

    void serveRelease(const QByteArray& item, const QByteArray& archiveBytes = {}) {
        server.serve("/feed.xml", feedOf(item));
        server.serve("/lumeno.tar.gz", archiveBytes.isEmpty() ? archive : archiveBytes, "application/x-gtar");
    }

    AppBundle installedBundle() {
        auto read = AppBundle::read(installed);
        EXPECT_TRUE(std::holds_alternative<AppBundle>(read));
        return std::get<AppBundle>(read);
    }

    std::unique_ptr<SoftwareUpdate> makeUpdate(const QString& feedPath = "/feed.xml") {
        return std::make_unique<SoftwareUpdate>(environment(feedPath));
    }
    // An updater reading `feed`.
    std::unique_ptr<SoftwareUpdate> makeUpdateFrom(const QUrl& feed) {
        return std::make_unique<SoftwareUpdate>(environmentFrom(feed));
    }
    SoftwareUpdate::Environment environment(const QString& feedPath = "/feed.xml") {
        return environmentFrom(server.url(feedPath));
    }
    // Over a transport that trusts the loopback https servers' authority.
    SoftwareUpdate::Environment environmentFrom(const QUrl& feed) {
        return SoftwareUpdate::Environment{
            installedBundle(), feed,
            std::make_shared<QtHttpTransport>(QSslCertificate::fromPath(QStringLiteral(LUMENO_TLS_DATA_DIR "/test-ca.pem"))),
            settings,
            QStringLiteral("6.1.0"),
            [this](const QString& program, const QStringList& arguments) -> std::optional<qint64> {
                launched << program + " " + arguments.join(' ');
                if (!QProcess::startDetached(program, arguments, {}, &launchedPid))
                    return std::nullopt;
                return launchedPid;
            },
            [](std::function<void()> job) { QThreadPool::globalInstance()->start(std::move(job)); }, scheduler,
            handoverSocket(), [this] { instance.release(); }, [this] { return instance.acquire(); }, failedUpdateFile()};
    }

    // Whether another copy could take the one-copy lock now.
    bool lockIsFree() {
        InstanceLock other(runtime);
        return other.acquire();
    }

    // Waits, with a bound, until the update reaches `phase`.
    static bool reaches(SoftwareUpdate& update, SoftwareUpdate::Phase phase) {
        return QTest::qWaitFor([&] { return update.phase() == phase; }, 20000);
    }

    // Checks as the user does and downloads what is found; the phase it ends in (failed when either fails).
    static SoftwareUpdate::Phase checkAndDownload(SoftwareUpdate& update) {
        using Phase = SoftwareUpdate::Phase;
        update.check(true);
        EXPECT_TRUE(QTest::qWaitFor([&] { return update.phase() == Phase::available || update.phase() == Phase::failed; }, 20000));
        if (update.phase() == Phase::available) {
            update.installUpdate();
            EXPECT_TRUE(QTest::qWaitFor([&] { return update.phase() == Phase::readyToInstall || update.phase() == Phase::failed; }, 20000));
        }
        return update.phase();
    }

    // Makes the prefix read-only for real: a read-only bind mount for root (whom modes do not stop), else
    // modes. False when neither can be done here.
    bool makePrefixReadOnly() {
        const QByteArray prefix = temp.filePath("prefix").toLocal8Bit();
        if (::geteuid() != 0) {
            QFile::setPermissions(temp.filePath("prefix/lib"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QFile::setPermissions(installed, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            return true;
        }
        if (::mount(prefix, prefix, nullptr, MS_BIND, nullptr) != 0)
            return false;
        mounted = prefix;
        return ::mount(nullptr, prefix, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~UpdateFixture() override {
        if (!mounted.isEmpty())
            ::umount(mounted);
        if (launchedPid > 0) // a release's program that is still waiting
            ::kill(pid_t(launchedPid), SIGKILL);
    }

    QString installedVersionFile() {
        QFile file(QDir(installed).filePath("bundle.properties"));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

    QTemporaryDir temp;
    QString runtime = temp.filePath("runtime");
    InstanceLock instance{runtime};
    ManualClock clock;
    ManualScheduler scheduler{clock};
    qint64 launchedPid = 0;
    FeedServer server;
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    QByteArray key;
    QString installed;
    QByteArray archive;
    QStringList launched;
    QByteArray mounted;
};

} // namespace lumeno::testing
