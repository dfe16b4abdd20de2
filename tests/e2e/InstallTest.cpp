// The program as `cmake --install` puts it on a system (under /usr, staged through DESTDIR) and in a user's
// ~/.local: the application folder, the relative command link, the menu entry and the icons; then the
// installed program started through its command, as a menu would, reading its own bundle; and the Debian
// package holding the same install.
#include "e2e/harness/E2eTest.h"

#include "foundation/AppBundle.h"
#include "platform/linux/DesktopEntries.h"
#include "testsupport/Command.h"
#include "testsupport/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

namespace lumeno::e2e {

namespace {

const QString identifier = QStringLiteral(LUMENO_IDENTIFIER);
const QString version = QStringLiteral(LUMENO_VERSION);

using testing::CommandRun;
using testing::runCommand;

class Installed : public E2eTest {
protected:
    // `cmake --install` of this build with `prefix`, staged under `destination` when one is given.
    void install(const QString& prefix, const QString& destination = {}) {
        ASSERT_TRUE(staging.isValid()) << staging.errorString().toStdString();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DESTDIR"));
        if (!destination.isEmpty())
            environment.insert(QStringLiteral("DESTDIR"), destination);
        const CommandRun installing = runCommand(QStringLiteral(LUMENO_CMAKE),
                                                 {QStringLiteral("--install"), QStringLiteral(LUMENO_BUILD_DIR),
                                                  QStringLiteral("--prefix"), prefix, QStringLiteral("--strip")},
                                                 environment);
        ASSERT_EQ(installing.status, 0) << installing.log();
    }

    // Every piece in its place under `root` (the prefix as it lies on disk), with a bundle that says who
    // put it there; nothing names `prefix`.
    void expectLayout(const QString& root, const QString& prefix, AppBundle::Installation installation) {
        const QDir at(root);
        const QFileInfo command(at.filePath(QStringLiteral("bin/lumeno")));
        EXPECT_TRUE(command.isExecutable());
        EXPECT_TRUE(QFileInfo(at.filePath(QStringLiteral("lib/lumeno/lumeno"))).isExecutable());

        const std::variant<AppBundle, QString> bundle = AppBundle::read(at.filePath(QStringLiteral("lib/lumeno")));
        ASSERT_TRUE(std::holds_alternative<AppBundle>(bundle)) << std::get<QString>(bundle).toStdString();
        EXPECT_EQ(std::get<AppBundle>(bundle).identifier, identifier);
        EXPECT_EQ(std::get<AppBundle>(bundle).version, version);
        EXPECT_EQ(std::get<AppBundle>(bundle).installation, installation);

        const QString entryPath = at.filePath(QStringLiteral("share/applications/%1.desktop").arg(identifier));
        QFile entryFile(entryPath);
        ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly)) << entryPath.toStdString();
        const QByteArray entryText = entryFile.readAll();
        const std::optional<DesktopEntries::Entry> entry = DesktopEntries::parse(identifier, entryText);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->name, QStringLiteral("Lumeno"));
        EXPECT_TRUE(entryText.contains("\nExec=lumeno\n")) << entryText.toStdString();
        EXPECT_TRUE(entryText.contains(("\nIcon=" + identifier + "\n").toUtf8())) << entryText.toStdString();
        EXPECT_TRUE(entryText.contains("\nCategories=")) << entryText.toStdString();
        const CommandRun validating = runCommand(QStringLiteral("desktop-file-validate"), {entryPath});
        EXPECT_EQ(validating.status, 0) << "desktop-file-validate (package desktop-file-utils): " << validating.log();
        EXPECT_EQ(validating.output + validating.errors, QString());

        for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage icon(at.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(side).arg(identifier)));
            EXPECT_EQ(icon.size(), QSize(side, side)) << side;
        }

        // The same files serve any prefix: neither the menu entry nor the bundle writes one down.
        QFile bundleFile(at.filePath(QStringLiteral("lib/lumeno/bundle.properties")));
        ASSERT_TRUE(bundleFile.open(QIODevice::ReadOnly));
        for (const QByteArray& text : {entryText, bundleFile.readAll()})
            EXPECT_FALSE(text.contains(prefix.toUtf8())) << text.toStdString();
    }

    // The installed command started as a menu starts it: no test runner's variables, its own home.
    std::unique_ptr<LumenoProcess> start(const QString& command) {
        return std::make_unique<LumenoProcess>(
            home, LumenoProcess::Options{server.baseURL(), std::nullopt,
                                         {QStringLiteral("PULSE_SERVER=") + session().sound().address()}, command});
    }

    // The first-run guide of `lumeno` is on screen, and its windows carry the class the menu entry under
    // `root` names, so the desktop puts them under that entry.
    void expectGuideMatchingTheEntry(LumenoProcess& lumeno, const QString& root, const QString& picture) {
        const std::optional<xcb_window_t> guide = waitForWindow(lumeno.pid(), QStringLiteral("Lumeno"));
        ASSERT_TRUE(guide) << lumeno.log().toStdString();
        QFile entryFile(QDir(root).filePath(QStringLiteral("share/applications/%1.desktop").arg(identifier)));
        ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly));
        const std::optional<DesktopEntries::Entry> entry = DesktopEntries::parse(identifier, entryFile.readAll());
        ASSERT_TRUE(entry);
        const std::optional<X11WindowInfo::WindowClass> windowClass = windowClassOf(*guide);
        ASSERT_TRUE(windowClass);
        EXPECT_EQ(windowClass->name, entry->windowClass);
        EXPECT_EQ(DesktopEntries({*entry}).nameOf(windowClass->instance, windowClass->name), QStringLiteral("Lumeno"));
        screenshotOnceDrawn(*guide, picture);
    }

    // Empty files at `paths` in `folder`, with the folders they need.
    static void putFiles(const QDir& folder, const QStringList& paths) {
        for (const QString& path : paths) {
            QFile file(folder.filePath(path));
            ASSERT_TRUE(folder.mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly)) << path.toStdString();
        }
    }

    QTemporaryDir staging;
};

TEST_F(Installed, ASystemInstallUnderUsrRunsThroughItsCommandWithItsOwnBundle) {
    install(QStringLiteral("/usr"), staging.path());
    const QString root = QDir(staging.path()).filePath(QStringLiteral("usr"));
    expectLayout(root, QStringLiteral("/usr"), AppBundle::Installation::packaged);

    auto lumeno = start(QDir(root).filePath(QStringLiteral("bin/lumeno")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLine(QRegularExpression(QStringLiteral("^app: Lumeno %1 starting$").arg(version))))
        << lumeno->log().toStdString();
    EXPECT_FALSE(lumeno->log().contains(QStringLiteral("bundle file"))) << lumeno->log().toStdString();
    expectGuideMatchingTheEntry(*lumeno, root, QStringLiteral("system-guide"));
}

TEST_F(Installed, AUserInstallInLocalReadsTheBundleBesideItsProgramAndOutlivesABrokenOne) {
    const QString prefix = QDir(home.path()).filePath(QStringLiteral(".local"));
    install(prefix);
    expectLayout(prefix, prefix, AppBundle::Installation::installed);

    // The version the program tells is the one in its application folder, not one it was built with.
    const QString bundlePath = QDir(prefix).filePath(QStringLiteral("lib/lumeno/bundle.properties"));
    QFile bundle(bundlePath);
    ASSERT_TRUE(bundle.open(QIODevice::ReadOnly));
    QByteArray text = bundle.readAll();
    bundle.close();
    text.replace("version=" + version.toUtf8() + "\n", "version=9.8.7\n");
    ASSERT_TRUE(bundle.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bundle.write(text);
    bundle.close();
    const QString command = QDir(prefix).filePath(QStringLiteral("bin/lumeno"));
    {
        auto lumeno = start(command);
        ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
        EXPECT_TRUE(lumeno->waitForLine(QRegularExpression(QStringLiteral("^app: Lumeno 9\\.8\\.7 starting$"))))
            << lumeno->log().toStdString();
        expectGuideMatchingTheEntry(*lumeno, prefix, QStringLiteral("user-guide"));
    }

    // A broken bundle is told, and the program runs on as the version it was built as.
    ASSERT_TRUE(bundle.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bundle.write("identifier=app.lumeno.Lumeno\nthis is no property\n");
    bundle.close();
    auto lumeno = start(command);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLine(QRegularExpression(
        QStringLiteral("^app: The program's bundle file %1 is broken: line 2 is not key=value\\.$")
            .arg(QRegularExpression::escape(bundlePath)))))
        << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLine(QRegularExpression(QStringLiteral("^app: Lumeno %1 starting$").arg(version))))
        << lumeno->log().toStdString();
}

// Installing again replaces the application folder whole: nothing an earlier install or anyone else put in
// it stays, and the program is whole.
TEST_F(Installed, InstallingAgainReplacesTheApplicationFolderWhole) {
    const QString prefix = QDir(home.path()).filePath(QStringLiteral(".local"));
    install(prefix);
    const QDir application(QDir(prefix).filePath(QStringLiteral("lib/lumeno")));
    ASSERT_NO_FATAL_FAILURE(putFiles(application, {QStringLiteral("stray.txt"), QStringLiteral("plugins/old.so")}));
    install(prefix);
    EXPECT_EQ(application.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("bundle.properties"), QStringLiteral("lumeno")}));
    expectLayout(prefix, prefix, AppBundle::Installation::installed);
}

TEST_F(Installed, UninstallTakesWhatAnUpdateLeftBesideTheInstallToo) {
    const QString prefix = QDir(home.path()).filePath(QStringLiteral(".local"));
    install(prefix);
    const QDir lib(QDir(prefix).filePath(QStringLiteral("lib")));
    ASSERT_NO_FATAL_FAILURE(putFiles(lib, {QStringLiteral("lumeno.update/lumeno"), QStringLiteral("lumeno.previous/lumeno")}));
    const CommandRun uninstalling = runCommand(QStringLiteral("make"), {QStringLiteral("-C"), QStringLiteral(LUMENO_SOURCE_DIR),
                                                                        QStringLiteral("uninstall"), QStringLiteral("PREFIX=") + prefix});
    ASSERT_EQ(uninstalling.status, 0) << uninstalling.log();
    EXPECT_EQ(lib.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_FALSE(QFileInfo::exists(QDir(prefix).filePath(QStringLiteral("bin/lumeno"))));
}

TEST_F(Installed, TheDebianPackageHoldsTheSameInstallUnderUsrAndNamesWhatItNeeds) {
    const QString build = QStringLiteral(LUMENO_BUILD_DIR);
    const CommandRun packing = runCommand(QStringLiteral(LUMENO_CPACK),
                                          {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), staging.path(),
                                           QStringLiteral("--config"), QDir(build).filePath(QStringLiteral("CPackConfig.cmake"))});
    ASSERT_EQ(packing.status, 0) << packing.log();
    const QStringList packages = QDir(staging.path()).entryList({QStringLiteral("lumeno_*.deb")});
    ASSERT_EQ(packages.size(), 1) << packing.log();
    const QString package = QDir(staging.path()).filePath(packages.front());

    const QString unpacked = QDir(staging.path()).filePath(QStringLiteral("unpacked"));
    const CommandRun extracting = runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), package, unpacked});
    ASSERT_EQ(extracting.status, 0) << extracting.log();
    expectLayout(QDir(unpacked).filePath(QStringLiteral("usr")), QStringLiteral("/usr"), AppBundle::Installation::packaged);

    const CommandRun control = runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), package,
                                                                       QStringLiteral("Package"), QStringLiteral("Version"),
                                                                       QStringLiteral("Depends")});
    ASSERT_EQ(control.status, 0) << control.log();
    EXPECT_TRUE(control.output.contains(QStringLiteral("Package: lumeno\n"))) << control.log();
    EXPECT_TRUE(control.output.contains(QStringLiteral("Version: %1\n").arg(version))) << control.log();
    // The libraries it links, and what it needs at run time without linking it.
    for (const QString& needed : {QStringLiteral("libqt6widgets6"), QStringLiteral("libpocketsphinx3"),
                                  QStringLiteral("qt6-qpa-plugins"), QStringLiteral("pocketsphinx-en-us")})
        EXPECT_TRUE(control.output.contains(needed)) << control.log();
}

} // namespace

} // namespace lumeno::e2e
