// The installed program updates itself: `cmake --install` of this build into a temporary prefix, a
// release of it built and signed here with a key made here, served from a loopback feed; the user takes
// the update from the tray and the new version takes over.
#include "e2e/harness/E2eTest.h"

#include "e2e/harness/ScreenButtons.h"
#include "updates/FeedServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <QScopeGuard>

#include <csignal>
#include <sys/mount.h>

namespace lumeno::e2e {

namespace {

// A command run to its end, bounded; its standard output, or a failure of the test.
QByteArray output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// Rewrites `key=` lines of a bundle.properties.
void setProperties(const QString& folder, const QMap<QString, QString>& values) {
    QFile file(QDir(folder).filePath(QStringLiteral("bundle.properties")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    file.close();
    for (QString& line : lines) {
        const QString key = line.section(u'=', 0, 0).trimmed();
        if (values.contains(key))
            line = key + u'=' + values[key];
    }
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join(u'\n').toUtf8());
}

class Update : public E2eTest {
protected:
    // Opens the tray menu of `pid` and chooses the item `steps` down from the top, by the keyboard (the
    // status line cannot be chosen).
    bool chooseFromTray(qint64 pid, int steps) {
        std::vector<xcb_window_t> icons;
        if (!waitUntil([&] { return !(icons = session().tray().iconsOf(pid)).empty(); }))
            return false;
        const std::optional<std::pair<int, int>> centre = session().tray().centreOf(icons.front());
        if (!centre)
            return false;
        user.click(centre->first, centre->second);
        // The menu, not the note at the icon (a tool tip) that may still be there as it opens.
        std::optional<xcb_window_t> menu;
        if (!waitUntil([&] {
                for (const xcb_window_t popup : popupsOf(pid))
                    if (!atomsOf(popup, "_NET_WM_WINDOW_TYPE").contains(QStringLiteral("_NET_WM_WINDOW_TYPE_TOOLTIP")))
                        menu = popup;
                return menu.has_value();
            }) ||
            !waitUntilDrawn(*menu))
            return false;
        screenshotOnceDrawn(*menu, QStringLiteral("menu-%1").arg(pid == first ? "old" : "new"));
        for (int step = 0; step < steps; ++step)
            user.tap(downKey);
        user.tap(desktop::DesktopUser::enter);
        return true;
    }

    // The screen once the window of `pid` that shows the button `name` is placed and drawn: a window shown
    // again is on the accessibility bus a moment before the window manager maps it, and the screen there
    // is still (and blank) meanwhile.
    void screenshotShowing(qint64 pid, const QString& name, const QString& picture) {
        std::optional<ScreenButtons::InWindow> control;
        EXPECT_TRUE(waitUntil([&] { return (control = ScreenButtons::findInWindow(pid, name)).has_value(); }))
            << name.toStdString();
        const std::optional<xcb_window_t> window = control ? waitForWindow(pid, control->windowTitle) : std::nullopt;
        EXPECT_TRUE(window) << "the window showing " << name.toStdString() << " was never mapped";
        if (window)
            screenshotOnceDrawn(*window, picture);
    }

    // This build installed into a prefix with a key made here; a release of it calling itself `version`
    // (9.0.0 unless told), shown as `shownVersion`, built, signed and served from the loopback feed.
    // `program`, when given, replaces the release's executable.
    void installAndServeRelease(const QByteArray& program = {}, const QString& version = QStringLiteral("9.0.0"),
                                const QString& shownVersion = QStringLiteral("9.0")) {
        output(QStringLiteral(LUMENO_CMAKE), {QStringLiteral("--install"), QStringLiteral(LUMENO_BUILD_DIR),
                                             QStringLiteral("--prefix"), prefix});
        const QString key = QString::fromLatin1(output(QStringLiteral(LUMENO_RELEASE_SIGN),
                                                       {QStringLiteral("keygen"), temp.filePath(QStringLiteral("keys"))})
                                                    .trimmed());
        setProperties(application, {{QStringLiteral("public-key"), key}});

        const QString release = temp.filePath(QStringLiteral("release"));
        QDir().mkpath(release);
        output(QStringLiteral("cp"), {QStringLiteral("-a"), application, release});
        setProperties(QDir(release).filePath(QStringLiteral("lumeno")),
                      {{QStringLiteral("version"), version}, {QStringLiteral("display-version"), shownVersion}});
        if (!program.isEmpty()) {
            QFile executable(QDir(release).filePath(QStringLiteral("lumeno/lumeno")));
            ASSERT_TRUE(executable.open(QIODevice::WriteOnly | QIODevice::Truncate));
            executable.write(program);
        }
        const QString archive = temp.filePath(QStringLiteral("lumeno-%1-linux.tar.gz").arg(version));
        output(QStringLiteral("tar"), {QStringLiteral("-czf"), archive, QStringLiteral("-C"), release, QStringLiteral("lumeno")});
        const QByteArray item = output(QStringLiteral(LUMENO_RELEASE_SIGN),
                                       {QStringLiteral("sign"), temp.filePath(QStringLiteral("keys/update-private.pem")), archive,
                                        version, shownVersion, feed.url(QStringLiteral("/lumeno.tar.gz")).toString(),
                                        QStringLiteral("--description"),
                                        QStringLiteral("<p>This release keeps your sign-off in every reply.</p>"
                                                       "<ul><li>Faster start</li><li>Clearer messages</li></ul>")});
        QFile archiveFile(archive);
        ASSERT_TRUE(archiveFile.open(QIODevice::ReadOnly));
        feed.serve(QStringLiteral("/lumeno.tar.gz"), archiveFile.readAll(), QStringLiteral("application/x-gtar"));
        feed.serve(QStringLiteral("/feed.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
                                                "xmlns:lumeno=\"https://lumeno.app/xml/update\"><channel><title>Lumeno</title>\n" +
                                                    item + "</channel></rss>\n");
    }

    // The installed command of `installPrefix`, as a returning user starts it, with the feed set.
    std::unique_ptr<LumenoProcess> startInstalledIn(const QString& installPrefix,
                                                    const QString& logName = QStringLiteral("lumeno.log")) {
        becomeReturningUser();
        auto lumeno = std::make_unique<LumenoProcess>(
            home, LumenoProcess::Options{server.baseURL(), std::nullopt,
                                         {QStringLiteral("PULSE_SERVER=") + session().sound().address(), feedVariable()},
                                         QDir(installPrefix).filePath(QStringLiteral("bin/lumeno")), temp.filePath(logName)});
        first = lumeno->pid();
        return lumeno;
    }
    std::unique_ptr<LumenoProcess> startInstalled(const QString& logName = QStringLiteral("lumeno.log")) {
        return startInstalledIn(prefix, logName);
    }

    // From the tray's "Update to Lumeno 9.0…" to "Ready to Install" for `version`; the offer shows
    // `offerText` when one is given.
    void prepareFromTheTray(LumenoProcess& lumeno, const QString& version = QStringLiteral("9.0.0"),
                            const QString& offerText = {}) {
        // Signed in with everything allowed, the items that can be chosen are, in order: Pause, Memory…, How
        // to Use, Update to Lumeno 9.0…, Check for Updates…, Settings…, Quit Lumeno
        ASSERT_TRUE(chooseFromTray(first, 4)) << lumeno.log().toStdString();
        ASSERT_TRUE(waitForWindow(first, QStringLiteral("Software Update"))) << lumeno.log().toStdString();
        screenshotShowing(first, QStringLiteral("Install Update"), QStringLiteral("offer"));
        if (!offerText.isEmpty())
            EXPECT_TRUE(ScreenButtons::find(first, offerText)) << offerText.toStdString();
        ASSERT_TRUE(clickOn(first, QStringLiteral("Install Update")));
        ASSERT_TRUE(lumeno.waitForLineContaining(QStringLiteral("Update %1 ready to install").arg(version), patienceMs))
            << lumeno.log().toStdString();
        screenshotShowing(first, QStringLiteral("Install and Relaunch"), QStringLiteral("ready"));
        EXPECT_TRUE(QFileInfo(QDir(application).filePath(QStringLiteral("bundle.properties"))).exists());
    }
    // The same, and "Install and Relaunch" clicked.
    void installFromTheTray(LumenoProcess& lumeno) {
        prepareFromTheTray(lumeno);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(clickOn(first, QStringLiteral("Install and Relaunch")));
    }

    // The pid in the one-copy lock.
    qint64 lockHolder() {
        QLockFile lock(QDir(home.runtimeFolder()).filePath(QStringLiteral("lumeno.lock")));
        qint64 pid = 0;
        QString host, app;
        return lock.getLockInfo(&pid, &host, &app) ? pid : 0;
    }

    // A feed offering 9.0, signed with a key made here; its archive is never fetched by a copy that can't
    // install it.
    void serveOfferOfNine() {
        output(QStringLiteral(LUMENO_RELEASE_SIGN), {QStringLiteral("keygen"), temp.filePath(QStringLiteral("keys"))});
        const QString archive = temp.filePath(QStringLiteral("lumeno-9.0.0-linux.tar.gz"));
        QFile file(archive);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not fetched");
        file.close();
        const QByteArray item = output(QStringLiteral(LUMENO_RELEASE_SIGN),
                                       {QStringLiteral("sign"), temp.filePath(QStringLiteral("keys/update-private.pem")),
                                        archive, QStringLiteral("9.0.0"), QStringLiteral("9.0"),
                                        feed.url(QStringLiteral("/lumeno.tar.gz")).toString()});
        feed.serve(QStringLiteral("/feed.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
                                                "xmlns:lumeno=\"https://lumeno.app/xml/update\"><channel><title>Lumeno</title>\n" +
                                                    item + "</channel></rss>\n");
    }
    QString feedVariable() { return QStringLiteral("LUMENO_UPDATE_FEED=") + feed.url(QStringLiteral("/feed.xml")).toString(); }

    // Clicks the tray notification of `pid` once it is drawn; false when none comes.
    bool clickNotification(qint64 pid, const QString& picture) {
        std::vector<xcb_window_t> popups;
        if (!waitUntil([&] { return !(popups = popupsOf(pid)).empty(); }) || !waitUntilDrawn(popups.front()))
            return false;
        screenshotOnceDrawn(popups.front(), picture);
        const QPoint centre = geometryOf(popups.front()).center();
        user.click(centre.x(), centre.y());
        return true;
    }

    // Installs, from the tray, a release that says it has taken over as the new version does, or hangs there
    // when `hangs` (its pid in hung.pid), and dies of SIGSEGV at any other start.
    void installReleaseThatCrashes(bool hangs, std::unique_ptr<LumenoProcess>& lumeno) {
        const QString atHandover = hangs ? QStringLiteral("echo $$ > '%1'; exec tail -f /dev/null").arg(temp.filePath(QStringLiteral("hung.pid")))
            : QStringLiteral("exec python3 -c 'import os, signal, socket; s = socket.socket(socket.AF_UNIX); s.connect(\"%1\"); "
                             "s.send(b\"started\\n\"); s.recv(1); os.kill(os.getpid(), signal.SIGSEGV)'")
                  .arg(QDir(home.runtimeFolder()).filePath(QStringLiteral("lumeno.handover")));
        installAndServeRelease(QStringLiteral("#!/bin/sh\ncase \" $* \" in *\" --after-update \"*) %1 ;; esac\nkill -SEGV $$\n").arg(atHandover).toUtf8());
        lumeno = startInstalled();
        ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs)) << lumeno->log().toStdString();
        installFromTheTray(*lumeno);
    }

    // The command finds the new version on trial crashing and starts the installed one in its place, which
    // says so at once.
    std::unique_ptr<LumenoProcess> startAndExpectFallBack() {
        auto lumeno = startInstalled(QStringLiteral("fell-back.log"));
        EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update failed: Lumeno 9.0 couldn't start, so Lumeno "), patienceMs))
            << lumeno->log().toStdString();
        EXPECT_TRUE(waitForWindow(first, QStringLiteral("Software Update")));
        screenshotShowing(first, QStringLiteral("OK"), QStringLiteral("fell-back"));
        QFile bundle(QDir(application).filePath(QStringLiteral("bundle.properties")));
        EXPECT_TRUE(bundle.open(QIODevice::ReadOnly) && bundle.readAll().contains("version=" LUMENO_VERSION "\n"));
        EXPECT_TRUE(waitUntil([&] { return QDir(QDir(prefix).filePath(QStringLiteral("lib"))).entryList({QStringLiteral("lumeno.*")}).isEmpty(); }));
        return lumeno;
    }

    static constexpr quint8 downKey = 116;

    QTemporaryDir temp;
    QString prefix = temp.filePath(QStringLiteral("prefix"));
    QString application = QDir(prefix).filePath(QStringLiteral("lib/lumeno"));
    testing::FeedServer feed;
    qint64 first = 0;
};

TEST_F(Update, TheInstalledProgramTakesAnUpdateFromItsFeedAndTheNewVersionTakesOver) {
    installAndServeRelease();
    auto lumeno = startInstalled();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs))
        << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Lumeno " LUMENO_VERSION " starting"), 0)) << lumeno->log().toStdString();
    EXPECT_TRUE(windowsOf(first, QStringLiteral("Software Update")).empty()) << "a background check opens no window";
    // The tray's notification, a pop-up beside the icon.
    std::vector<xcb_window_t> popups;
    ASSERT_TRUE(waitUntil([&] { return !(popups = popupsOf(first)).empty(); })) << "no notification";
    screenshotOnceDrawn(popups.front(), QStringLiteral("notification"));

    installFromTheTray(*lumeno);
    if (HasFatalFailure())
        return;

    // The old version quits once the new one has told it that it runs.
    EXPECT_EQ(lumeno->waitForExit(patienceMs), 0) << "the old version quits\n" << lumeno->log().toStdString();
    const auto started = lumeno->waitForLineContaining(QStringLiteral("Lumeno 9.0.0 starting"), patienceMs);
    ASSERT_TRUE(started) << lumeno->log().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Lumeno started;"), patienceMs,
                                              std::find_if(lumeno->lines().begin(), lumeno->lines().end(),
                                                           [&](const auto& line) { return line.text == started->text; }) -
                                                  lumeno->lines().begin()))
        << "the new version is not stopped by the one-copy rule\n" << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Installed update 9.0.0; the new version has taken over"), 0))
        << lumeno->log().toStdString();

    // The new version holds the one-copy lock; its pid is in it.
    const qint64 second = lockHolder();
    ASSERT_NE(second, 0);
    EXPECT_NE(second, first);
    EXPECT_FALSE(QFileInfo::exists(QDir(prefix).filePath(QStringLiteral("lib/lumeno.update"))));

    // Its own check: the feed has nothing newer.
    ASSERT_TRUE(chooseFromTray(second, 4)) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> upToDate = waitForWindow(second, QStringLiteral("Software Update"));
    ASSERT_TRUE(upToDate) << lumeno->log().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("No update in the feed"), patienceMs));
    screenshotShowing(second, QStringLiteral("OK"), QStringLiteral("up-to-date"));
    ASSERT_TRUE(clickOn(second, QStringLiteral("OK")));

    // On trial, it keeps the version it replaced until the user quits it (or it has run a minute).
    EXPECT_TRUE(QFileInfo::exists(QDir(prefix).filePath(QStringLiteral("lib/lumeno.previous/lumeno"))))
        << "the way back is kept while the new version is on trial";
    // Check for Updates…, Settings…, Quit Lumeno.
    ASSERT_TRUE(chooseFromTray(second, 6)) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return ::kill(pid_t(second), 0) != 0; })) << "quit from the menu";
    EXPECT_TRUE(waitUntil([&] { return !QFileInfo::exists(QDir(prefix).filePath(QStringLiteral("lib/lumeno.previous"))); }))
        << "a run the user quit has shown it runs\n" << lumeno->log().toStdString();
}

TEST_F(Update, ANewVersionThatCannotStartLeavesTheInstalledOneRunningAndSaysSo) {
    // Signed as it should be, but its program ends at once, as one missing a library does.
    installAndServeRelease("#!/bin/sh\nexit 127\n");
    // What a cancelled update left, which the start clears.
    QDir().mkpath(application + QStringLiteral(".update/lumeno"));
    auto lumeno = startInstalled();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs))
        << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return !QFileInfo::exists(application + QStringLiteral(".update")); }))
        << "a start clears what an update left";
    installFromTheTray(*lumeno);
    if (HasFatalFailure())
        return;

    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update failed: Lumeno 9.0 couldn't start, so Lumeno "), patienceMs))
        << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->isRunning()) << "the installed version keeps running\n" << lumeno->log().toStdString();
    screenshotShowing(first, QStringLiteral("OK"), QStringLiteral("could-not-start"));
    EXPECT_EQ(lockHolder(), first) << "the one-copy lock is its own again";
    QFile bundle(QDir(application).filePath(QStringLiteral("bundle.properties")));
    ASSERT_TRUE(bundle.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bundle.readAll().contains("version=" LUMENO_VERSION "\n")) << "the installed version is back in place";
    EXPECT_FALSE(QFileInfo::exists(application + QStringLiteral(".previous")));
    EXPECT_FALSE(QFileInfo::exists(application + QStringLiteral(".update")));

    // The command starts the installed version again.
    ASSERT_TRUE(clickOn(first, QStringLiteral("OK")));
    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(patienceMs), 0);
    auto again = startInstalled(QStringLiteral("again.log"));
    EXPECT_TRUE(again->waitForLineContaining(QStringLiteral("Lumeno " LUMENO_VERSION " starting"), patienceMs)) << again->log().toStdString();
}

// A patch release whose item and bundle were made when the shown version left a patch out (both say 1.1)
// reads as 1.1.1 to a user of 1.1 in the note, the menu and the window. The user takes it and quits at
// "Ready to Install": the prepared version does not stay beside the install.
TEST_F(Update, APatchReleaseShowsItsPatchAndQuittingBeforeInstallingItLeavesNothingBehind) {
    installAndServeRelease({}, QStringLiteral("1.1.1"), QStringLiteral("1.1"));
    setProperties(application, {{QStringLiteral("version"), QStringLiteral("1.1.0")}, {QStringLiteral("display-version"), QStringLiteral("1.1")}});
    auto lumeno = startInstalled();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 1.1.1 (1.1.1)"), patienceMs))
        << lumeno->log().toStdString();
    std::vector<xcb_window_t> popups;
    ASSERT_TRUE(waitUntil([&] { return !(popups = popupsOf(first)).empty(); })) << "no notification";
    EXPECT_TRUE(waitUntil([&] { return ScreenButtons::find(first, QStringLiteral("Lumeno 1.1.1 is available")).has_value(); }));
    screenshotOnceDrawn(popups.front(), QStringLiteral("notification"));

    prepareFromTheTray(*lumeno, QStringLiteral("1.1.1"),
                       QStringLiteral("Lumeno 1.1.1 is now available—you have 1.1. Would you like to install it now?"));
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(ScreenButtons::find(first, QStringLiteral("Lumeno 1.1.1 is ready. Lumeno will quit and open again.")));
    const QString prepared = application + QStringLiteral(".update");
    ASSERT_TRUE(QFileInfo::exists(prepared));

    // "Quit Lumeno", the seventh item.
    ASSERT_TRUE(chooseFromTray(first, 7));
    EXPECT_EQ(lumeno->waitForExit(patienceMs), 0) << lumeno->log().toStdString();
    EXPECT_FALSE(QFileInfo::exists(prepared)) << "the prepared version goes as Lumeno quits";
    QFile bundle(QDir(application).filePath(QStringLiteral("bundle.properties")));
    ASSERT_TRUE(bundle.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bundle.readAll().contains("version=1.1.0\n")) << "the installed version stays";
}

// A new version that takes over and then crashes, at every start: the next start of the command puts the
// installed version back and says so; that version is announced and offered no more, and the user's own
// check still shows it, with why.
TEST_F(Update, ANewVersionThatCrashesAfterTakingOverFallsBackAtTheNextStartAndIsNotOfferedAgain) {
    std::unique_ptr<LumenoProcess> lumeno;
    installReleaseThatCrashes(false, lumeno);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("the new version has taken over"), patienceMs));
    EXPECT_EQ(lumeno->waitForExit(patienceMs), 0);
    auto again = startAndExpectFallBack();
    ASSERT_TRUE(clickOn(first, QStringLiteral("OK")));
    again->terminate();
    EXPECT_EQ(again->waitForExit(patienceMs), 0);

    auto third = startInstalled(QStringLiteral("third.log"));
    ASSERT_TRUE(third->waitForLineContaining(QStringLiteral("Update 9.0.0 couldn't start here before; not announced"), patienceMs));
    EXPECT_TRUE(popupsOf(first).empty()) << "no notification";
    // No "Update to Lumeno 9.0…": the fourth item is "Check for Updates…", which checks again.
    ASSERT_TRUE(chooseFromTray(first, 4));
    ASSERT_TRUE(third->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs)) << third->log().toStdString();
    screenshotShowing(first, QStringLiteral("Install Update"), QStringLiteral("failed-version-offer"));
}

// The old copy killed while it waits for a new version that never gets ready, which the session then ends:
// the next start finds the way back and takes it when the new version crashes.
TEST_F(Update, AnOldCopyKilledWhileItWaitsLeavesAWayBackForTheNextStart) {
    std::unique_ptr<LumenoProcess> lumeno;
    installReleaseThatCrashes(true, lumeno);
    QFile hung(temp.filePath(QStringLiteral("hung.pid")));
    ASSERT_TRUE(waitUntil([&] { return hung.size() > 0; }) && hung.open(QIODevice::ReadOnly));
    ::kill(pid_t(first), SIGKILL);
    ::kill(pid_t(hung.readAll().trimmed().toLongLong()), SIGKILL);
    EXPECT_FALSE(lumeno->waitForExit(patienceMs)) << "killed";
    startAndExpectFallBack();
}

// The user closes the update window while the download runs, and the archive then ends short of the length
// the feed states: a note at the icon says what went wrong; clicked, it opens the window on the failure,
// and once that is seen the menu's item offers the update again.
TEST_F(Update, AFailureAfterTheWindowIsClosedIsNotedAndShownUntilSeen) {
    installAndServeRelease();
    QFile archive(temp.filePath(QStringLiteral("lumeno-9.0.0-linux.tar.gz")));
    ASSERT_TRUE(archive.open(QIODevice::ReadOnly));
    const QByteArray bytes = archive.readAll();
    feed.serve(QStringLiteral("/lumeno.tar.gz"), bytes.left(bytes.size() / 2), QStringLiteral("application/x-gtar"));
    feed.holdAfter(QStringLiteral("/lumeno.tar.gz"), 64 * 1024);
    auto lumeno = startInstalled();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs))
        << lumeno->log().toStdString();

    const auto windowShown = [&] {
        const std::vector<xcb_window_t> windows = windowsOf(first, QStringLiteral("Software Update"));
        return std::any_of(windows.begin(), windows.end(), [&](xcb_window_t window) { return isViewable(window); });
    };
    ASSERT_TRUE(chooseFromTray(first, 4)) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> window = waitForWindow(first, QStringLiteral("Software Update"));
    ASSERT_TRUE(window) << lumeno->log().toStdString();
    ASSERT_TRUE(clickOn(first, QStringLiteral("Install Update")));
    ASSERT_TRUE(waitUntil([&] { return feed.requestsFor(QStringLiteral("/lumeno.tar.gz")) == 1; }));
    screenshotShowing(first, QStringLiteral("Cancel"), QStringLiteral("downloading"));
    closeWindow(*window);
    ASSERT_TRUE(waitUntil([&] { return !windowShown(); })) << "the window manager closed the window";
    feed.release();

    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update failed: The update couldn't be downloaded."), patienceMs))
        << lumeno->log().toStdString();
    EXPECT_FALSE(windowShown()) << "a failure opens no window by itself";
    ASSERT_TRUE(clickNotification(first, QStringLiteral("failure-note"))) << "no note of the failure";
    ASSERT_TRUE(waitUntil(windowShown)) << "the note opens the window\n" << lumeno->log().toStdString();
    screenshotShowing(first, QStringLiteral("OK"), QStringLiteral("failure-shown"));
    EXPECT_FALSE(ScreenButtons::find(first, QStringLiteral("Install Update"))) << "the failure, not the offer";

    ASSERT_TRUE(clickOn(first, QStringLiteral("OK")));
    ASSERT_TRUE(waitUntil([&] { return !windowShown(); }));
    ASSERT_TRUE(chooseFromTray(first, 4));
    ASSERT_TRUE(waitUntil(windowShown)) << "the menu's item opens the window";
    screenshotShowing(first, QStringLiteral("Install Update"), QStringLiteral("offer-after-failure"));
    QFile bundle(QDir(application).filePath(QStringLiteral("bundle.properties")));
    ASSERT_TRUE(bundle.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bundle.readAll().contains("version=" LUMENO_VERSION "\n")) << "the installed version is untouched";
}

// Run from the build folder with a feed set, Lumeno finds the update but never replaces the folder it was
// built in: the notification, clicked, shows the offer with the reason and no Install button; Remind Me
// Later after the user's own check leaves the offer in the menu.
TEST_F(Update, TheBuildFolderIsNeverReplacedAndItsOfferLeadsToTheReason) {
    serveOfferOfNine();
    becomeReturningUser();
    auto lumeno = launch(std::nullopt, {feedVariable()});
    first = lumeno->pid();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs))
        << lumeno->log().toStdString();
    ASSERT_TRUE(clickNotification(first, QStringLiteral("build-folder-notification")));
    ASSERT_TRUE(waitForWindow(first, QStringLiteral("Software Update"))) << "the click shows the offer";
    screenshotShowing(first, QStringLiteral("Remind Me Later"), QStringLiteral("build-folder-offer"));
    EXPECT_FALSE(ScreenButtons::find(first, QStringLiteral("Install Update")));
    ASSERT_TRUE(clickOn(first, QStringLiteral("Remind Me Later")));

    // The user's own check ("Check for Updates…", the fifth item), put away again: the offer stays as the
    // fourth item, which shows it without checking again.
    ASSERT_TRUE(chooseFromTray(first, 5));
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs, 1 +
        std::find_if(lumeno->lines().begin(), lumeno->lines().end(), [](const auto& line) {
            return line.text.contains(QStringLiteral("Update available"));
        }) - lumeno->lines().begin()));
    ASSERT_TRUE(clickOn(first, QStringLiteral("Remind Me Later")));
    EXPECT_TRUE(waitUntil([&] { return !ScreenButtons::find(first, QStringLiteral("Remind Me Later")); }));
    const auto checks = [&] {
        return std::count_if(lumeno->lines().begin(), lumeno->lines().end(),
                             [](const auto& line) { return line.text.contains(QStringLiteral("Update available")); });
    };
    ASSERT_TRUE(chooseFromTray(first, 4));
    screenshotShowing(first, QStringLiteral("Remind Me Later"), QStringLiteral("build-folder-offer-again"));
    EXPECT_EQ(checks(), 2) << "the menu's offer, not a third check\n" << lumeno->log().toStdString();

    const QDir build(QStringLiteral(LUMENO_BUILD_DIR));
    EXPECT_TRUE(QFileInfo(build.filePath(QStringLiteral("src/lumeno"))).isExecutable());
    EXPECT_FALSE(QFileInfo::exists(build.filePath(QStringLiteral("src.update"))));
    EXPECT_FALSE(QFileInfo::exists(build.filePath(QStringLiteral("src.previous"))));
    EXPECT_EQ(feed.requestsFor(QStringLiteral("/lumeno.tar.gz")), 0);
}

// A package's folder under /usr (staged through DESTDIR as packaging stages it), run by whoever runs the
// tests, root included: sent to the package manager, never replaced.
TEST_F(Update, APackagesFolderIsLeftToThePackageManagerWhoeverRunsIt) {
    serveOfferOfNine();
    const QString staging = temp.filePath(QStringLiteral("staging"));
    QProcess install;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), staging);
    install.setProcessEnvironment(environment);
    install.start(QStringLiteral(LUMENO_CMAKE), {QStringLiteral("--install"), QStringLiteral(LUMENO_BUILD_DIR),
                                                 QStringLiteral("--prefix"), QStringLiteral("/usr")});
    ASSERT_TRUE(install.waitForFinished(120000) && install.exitCode() == 0) << install.readAllStandardError().toStdString();
    const QString usr = QDir(staging).filePath(QStringLiteral("usr"));

    auto lumeno = startInstalledIn(usr);
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs))
        << lumeno->log().toStdString();
    ASSERT_TRUE(chooseFromTray(first, 4));
    ASSERT_TRUE(waitForWindow(first, QStringLiteral("Software Update")));
    screenshotShowing(first, QStringLiteral("Remind Me Later"), QStringLiteral("package-offer"));
    EXPECT_FALSE(ScreenButtons::find(first, QStringLiteral("Install Update")));
    EXPECT_EQ(feed.requestsFor(QStringLiteral("/lumeno.tar.gz")), 0);
    EXPECT_FALSE(QFileInfo::exists(QDir(usr).filePath(QStringLiteral("lib/lumeno.update"))));
}

// A user's own install on a read-only file system (a read-only bind mount, which stops root too): the
// notification tells the truth and the offer names the folder and why, with no Install button.
TEST_F(Update, AnInstallTheUserCannotWriteSaysWhyItCannotUpdateItself) {
    serveOfferOfNine();
    output(QStringLiteral(LUMENO_CMAKE), {QStringLiteral("--install"), QStringLiteral(LUMENO_BUILD_DIR),
                                         QStringLiteral("--prefix"), prefix});
    const QByteArray mountPoint = QFile::encodeName(prefix);
    if (::mount(mountPoint.constData(), mountPoint.constData(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "a read-only prefix needs mount rights";
    const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });
    ASSERT_EQ(::mount(nullptr, mountPoint.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr), 0);

    auto lumeno = startInstalled();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Update available: 9.0 (9.0.0)"), patienceMs))
        << lumeno->log().toStdString();
    ASSERT_TRUE(clickNotification(first, QStringLiteral("read-only-notification")));
    ASSERT_TRUE(waitForWindow(first, QStringLiteral("Software Update")));
    screenshotShowing(first, QStringLiteral("Remind Me Later"), QStringLiteral("read-only-offer"));
    EXPECT_FALSE(ScreenButtons::find(first, QStringLiteral("Install Update")));
    EXPECT_EQ(feed.requestsFor(QStringLiteral("/lumeno.tar.gz")), 0);
    lumeno.reset();
}

} // namespace

} // namespace lumeno::e2e
