#include "support/Log.h"
#include "updates/InstallFolder.h"
#include "updates/UpdateFixture.h"

#include <QCoroTask>
#include <QSemaphore>


namespace lumeno::testing {
namespace {

using Phase = SoftwareUpdate::Phase;
using Kind = UpdateProblem::Kind;

class SoftwareUpdateTest : public UpdateFixture {
protected:
    // Checks as the user does and downloads the update found; the phase it ends in.
    // Installs a release whose program never says it runs, and waits until that program has started.
    void relaunchIntoOneThatNeverTakesOver(SoftwareUpdate& update) {
        serveReleaseThat(neverTakesOver);
        ASSERT_EQ(installFound(update), Phase::readyToInstall);
        update.installAndRelaunch();
        QFile started(temp.filePath("started.txt"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return started.exists() && started.size() > 0; }, 20000));
    }

    Phase installFound(SoftwareUpdate& update) {
        update.check(true);
        EXPECT_TRUE(reaches(update, Phase::available));
        update.installUpdate();
        EXPECT_TRUE(QTest::qWaitFor([&] { return update.phase() == Phase::readyToInstall || update.phase() == Phase::failed; }, 20000));
        return update.phase();
    }

    void expectFailedUntouched(SoftwareUpdate& update, Kind kind) {
        EXPECT_EQ(installFound(update), Phase::failed);
        ASSERT_TRUE(update.problem());
        EXPECT_EQ(update.problem()->kind, kind) << update.problem()->reason.toStdString();
        EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
        EXPECT_FALSE(QDir(InstallFolder(installed).staging()).exists()) << "nothing is left beside the install";
        EXPECT_TRUE(launched.isEmpty());
    }
};

TEST_F(SoftwareUpdateTest, FindsTheNewerReleaseAndOffersItWithItsNotes) {
    auto update = makeUpdate();
    QSignalSpy found(update.get(), &SoftwareUpdate::foundUpdate);
    update->check(false);
    ASSERT_TRUE(reaches(*update, Phase::available));
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(found[0][1].toBool(), false) << "a background check";
    EXPECT_EQ(update->item()->version, "1.1.0");
    EXPECT_EQ(update->item()->displayVersion, "1.1");
    EXPECT_TRUE(update->item()->description.contains("sign-off"));
    EXPECT_TRUE(update->canInstall());
}

TEST_F(SoftwareUpdateTest, OffersTheNewestReleaseThisSystemCanRun) {
    const QString privateKey = temp.filePath("keys/update-private.pem");
    QByteArray item = signedItem(archive, "1.3.0", "1.3", privateKey);
    item.replace("</item>", "<lumeno:minimumSystemVersion>99.0</lumeno:minimumSystemVersion></item>");
    serveRelease(signedItem(archive, "1.0.5", "1.0.5", privateKey) + signedItem(archive, "1.2.0", "1.2", privateKey) +
                 item + signedItem(archive, "1.1.0", "1.1", privateKey));
    auto update = makeUpdate();
    update->check(false);
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_EQ(update->item()->version, "1.2.0") << "1.3.0 needs a newer system than 6.1.0";
}

TEST_F(SoftwareUpdateTest, AnArchiveHoldingSomethingElseThanTheOfferIsNotInstalled) {
    const QString privateKey = temp.filePath("keys/update-private.pem");
    // Signed by the maker, but it holds 1.2.0 where the feed offers 1.1.0.
    const QByteArray other = buildArchive("1.2.0", key);
    serveRelease(signedItem(other, "1.1.0", "1.1", privateKey), other);
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::wrongContent);
    EXPECT_TRUE(update->problem()->reason.contains("1.2.0"));

    // A program that cannot run.
    QFile::setPermissions(temp.filePath("release-1.1.0/lumeno/lumeno"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString path = temp.filePath("not-executable.tar.gz");
    ASSERT_EQ(QProcess::execute("tar", {"-czf", path, "-C", temp.filePath("release-1.1.0"), "lumeno"}), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    serveRelease(signedItem(bytes, "1.1.0", "1.1", privateKey), bytes);
    launched.clear();
    auto again = makeUpdate();
    expectFailedUntouched(*again, Kind::wrongContent);
}

TEST_F(SoftwareUpdateTest, AFeedWithNothingNewerIsUpToDate) {
    serveRelease(signedItem(archive, "1.0.0", "1.0", temp.filePath("keys/update-private.pem")) +
                 signedItem(archive, "0.9", "0.9", temp.filePath("keys/update-private.pem")));
    auto update = makeUpdate();
    QSignalSpy none(update.get(), &SoftwareUpdate::noUpdate);
    update->check(true);
    ASSERT_TRUE(reaches(*update, Phase::upToDate));
    EXPECT_EQ(none.count(), 1);
}

TEST_F(SoftwareUpdateTest, ASkippedVersionIsQuietInTheBackgroundButShownWhenTheUserAsks) {
    auto update = makeUpdate();
    update->check(true);
    ASSERT_TRUE(reaches(*update, Phase::available));
    QSignalSpy dismissed(update.get(), &SoftwareUpdate::offerDismissed);
    update->skipThisVersion();
    EXPECT_EQ(settings.skippedUpdateVersion(), "1.1.0");
    EXPECT_EQ(update->phase(), Phase::idle);
    EXPECT_FALSE(update->item());
    EXPECT_EQ(dismissed.count(), 1);

    QSignalSpy none(update.get(), &SoftwareUpdate::noUpdate);
    update->check(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return none.count() == 1; }, 20000));
    EXPECT_EQ(update->phase(), Phase::idle);
    update->check(true);
    EXPECT_TRUE(reaches(*update, Phase::available));
}

TEST_F(SoftwareUpdateTest, InstallsIntoThePrefixAndHandsOverOnceTheNewVersionSaysItRuns) {
    serveReleaseThat(takesOver());
    auto update = makeUpdate();
    ASSERT_EQ(installFound(*update), Phase::readyToInstall);
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0")) << "nothing is swapped before the user says so";
    QSignalSpy relaunched(update.get(), &SoftwareUpdate::relaunched);
    update->installAndRelaunch();
    EXPECT_EQ(update->phase(), Phase::installing) << "the window shows the install under way";
    ASSERT_TRUE(QTest::qWaitFor([&] { return relaunched.count() == 1; }, 20000));
    EXPECT_TRUE(installedVersionFile().contains("version=1.1.0"));
    EXPECT_EQ(launched, QStringList{QDir(installed).filePath("lumeno") + " --after-update"});
    QFile started(temp.filePath("started.txt"));
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(started.readAll().trimmed(), "1.1.0 --after-update") << "the new version runs";
    EXPECT_TRUE(lockIsFree()) << "given up for the new version to take";
    // This copy has not quit yet, so the replaced version is still there to be put back.
    EXPECT_TRUE(QFile::exists(QDir(InstallFolder(installed).previous()).filePath("bundle.properties")));
    EXPECT_EQ(scheduler.pendingCount(), 0) << "no time bound left running";
}

TEST_F(SoftwareUpdateTest, ANewVersionThatEndsAtOnceIsReplacedByTheOneItReplaced) {
    auto update = makeUpdate();
    ASSERT_EQ(installFound(*update), Phase::readyToInstall);
    QSignalSpy relaunched(update.get(), &SoftwareUpdate::relaunched);
    update->installAndRelaunch();
    // Its end is seen as it happens: no time needs to pass.
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(relaunched.count(), 0) << "this copy keeps running";
    ASSERT_EQ(launched.size(), 1);
    EXPECT_EQ(update->problem()->kind, Kind::relaunchFailed) << update->problem()->reason.toStdString();
    EXPECT_EQ(update->problem()->title(), "Lumeno 1.1 couldn't start, so Lumeno 1.0.0 was kept.");
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
    const InstallFolder folder(installed);
    EXPECT_FALSE(QFileInfo::exists(folder.previous()));
    EXPECT_FALSE(QFileInfo::exists(folder.staging()));
    EXPECT_FALSE(lockIsFree()) << "taken back";
    EXPECT_EQ(scheduler.pendingCount(), 0);

    // Remembered at the next start: the background check stays quiet, the user's check shows it with why;
    // a newer release is announced as any other.
    ASSERT_TRUE(QTest::qWaitFor([&] { return FailedUpdate::read(failedUpdateFile()).has_value(); }, 20000));
    auto later = makeUpdate();
    QSignalSpy found(later.get(), &SoftwareUpdate::foundUpdate);
    for (const bool userInitiated : {false, true}) {
        later->check(userInitiated);
        ASSERT_TRUE(reaches(*later, userInitiated ? Phase::available : Phase::idle));
    }
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(later->failureOfOffer().value_or(FailedUpdate{}).reason, FailedUpdate::endedAtStart());
    serveRelease(signedItem(archive, "1.2.0", "1.2", temp.filePath("keys/update-private.pem")));
    later->check(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return found.count() == 2; }, 20000));
    EXPECT_FALSE(later->failureOfOffer());
}

// Started by the command in place of a new version that crashed: says so, and remembers that version.
TEST_F(SoftwareUpdateTest, AStartAfterTheCommandFellBackSaysSoAndRemembersTheVersion) {
    SoftwareUpdate::Environment env = environment();
    env.fellBackFrom = FailedUpdate{"1.1.0", "1.1", FailedUpdate::crashedAfterStart()};
    SoftwareUpdate update(std::move(env));
    ASSERT_EQ(update.phase(), Phase::failed);
    EXPECT_EQ(update.problem()->title(), "Lumeno 1.1 couldn't start, so Lumeno 1.0.0 was kept.");
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return FailedUpdate::read(failedUpdateFile()).value_or(FailedUpdate{}).reason == FailedUpdate::crashedAfterStart();
    }, 20000));
}

TEST_F(SoftwareUpdateTest, ANewVersionThatNeverSaysItRunsIsEndedAfterTheBoundAndTheOldOnePutBack) {
    auto update = makeUpdate();
    ASSERT_NO_FATAL_FAILURE(relaunchIntoOneThatNeverTakesOver(*update));
    ASSERT_GT(launchedPid, 0);
    scheduler.advance(SoftwareUpdate::handoverSeconds - 1);
    EXPECT_EQ(update->phase(), Phase::installing);
    EXPECT_TRUE(runs(launchedPid));
    EXPECT_TRUE(installedVersionFile().contains("version=1.1.0"));
    EXPECT_TRUE(lockIsFree());

    scheduler.advance(1);
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_FALSE(runs(launchedPid)) << "the stray program is ended";
    EXPECT_EQ(update->problem()->kind, Kind::relaunchFailed);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const std::optional<FailedUpdate> failed = FailedUpdate::read(failedUpdateFile());
        return failed && failed->reason == FailedUpdate::neverGotReady();
    }, 20000));
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
    EXPECT_FALSE(QFileInfo::exists(InstallFolder(installed).previous()));
    EXPECT_FALSE(lockIsFree());
}

TEST_F(SoftwareUpdateTest, QuittingBeforeTheNewVersionTookOverEndsItAndPutsTheOldOneBack) {
    auto update = makeUpdate();
    ASSERT_NO_FATAL_FAILURE(relaunchIntoOneThatNeverTakesOver(*update));
    ASSERT_TRUE(installedVersionFile().contains("version=1.1.0"));
    update.reset(); // this copy quits
    EXPECT_FALSE(runs(launchedPid));
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
    EXPECT_FALSE(QFileInfo::exists(InstallFolder(installed).previous()));
}

TEST_F(SoftwareUpdateTest, CancelAtReadyToInstallTakesThePreparedVersionOffTheDisk) {
    auto update = makeUpdate();
    ASSERT_EQ(installFound(*update), Phase::readyToInstall);
    const QString staging = InstallFolder(installed).staging();
    ASSERT_TRUE(QFileInfo::exists(staging));
    update->cancel();
    EXPECT_EQ(update->phase(), Phase::available);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(staging); }, 20000));
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
}

// Quitting while the download is checked and unpacked: whichever of the quit and the unpacking ends last
// takes the prepared version off the disk.
TEST_F(SoftwareUpdateTest, QuittingWhileTheVersionIsPreparedTakesItOffTheDiskToo) {
    QThreadPool& workers = *QThreadPool::globalInstance();
    for (const bool unpackedBeforeTheQuit : {false, true}) {
        auto update = makeUpdate();
        update->check(true);
        ASSERT_TRUE(reaches(*update, Phase::available));
        // The workers are kept busy from the download's start, so the unpacking waits for them.
        QSemaphore running, released;
        QObject::connect(update.get(), &SoftwareUpdate::progress, update.get(), [&] {
            for (int thread = 0; thread < workers.maxThreadCount(); ++thread)
                workers.start([&] { running.release(); released.acquire(); });
        }, Qt::SingleShotConnection);
        update->installUpdate();
        ASSERT_TRUE(reaches(*update, Phase::verifying));
        ASSERT_TRUE(running.tryAcquire(workers.maxThreadCount(), 20000));
        if (unpackedBeforeTheQuit) {
            released.release(workers.maxThreadCount());
            ASSERT_TRUE(workers.waitForDone(20000));
        }
        update.reset(); // this copy quits
        released.release(workers.maxThreadCount());
        ASSERT_TRUE(workers.waitForDone(20000));
        EXPECT_FALSE(QFileInfo::exists(InstallFolder(installed).staging())) << unpackedBeforeTheQuit;
    }
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
}

TEST_F(SoftwareUpdateTest, QuittingAtReadyToInstallTakesThePreparedVersionOffTheDisk) {
    auto update = makeUpdate();
    ASSERT_EQ(installFound(*update), Phase::readyToInstall);
    const QString staging = InstallFolder(installed).staging();
    ASSERT_TRUE(QFileInfo::exists(staging));
    const auto log = std::make_shared<CapturingLogSink>();
    const std::shared_ptr<LogSink> previous = Log::setSink(log);
    update.reset(); // this copy quits
    Log::setSink(previous);
    EXPECT_FALSE(QFileInfo::exists(staging)) << "gone once the quit is over";
    EXPECT_EQ(log->lines(), QStringList()) << "the quit saw the removal end";
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
    EXPECT_TRUE(launched.isEmpty());
}

TEST_F(SoftwareUpdateTest, AnArchiveSignedWithAnotherKeyIsNeverUnpacked) {
    run({"keygen", temp.filePath("other")});
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("other/update-private.pem")));
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::badSignature);
}

TEST_F(SoftwareUpdateTest, ATruncatedArchiveIsRefused) {
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")),
                 archive.left(archive.size() / 2));
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::lengthMismatch);
}

TEST_F(SoftwareUpdateTest, AnArchiveLongerThanTheFeedSaysIsStoppedWhileItArrives) {
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")),
                 archive + QByteArray(64 * 1024, 'x'));
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::downloadTooLarge);
}

// A server's error page is read only as far as its message, however long it is, and the failure is the
// server's error: not a feed or an archive too large, whatever length the page announces.
TEST_F(SoftwareUpdateTest, AnErrorAnswerIsReadOnlyAsFarAsItsMessage) {
    const QByteArray message = "Internal Server Error: the release store is down.";
    const QByteArray page = message + QByteArray(8 * 1024 * 1024, ' ');
    server.serve("/error", page, "text/plain", 500);
    QtHttpTransport transport;
    HttpRequest request;
    request.url = server.url("/error");
    request.maxResponseBytes = 2 * page.size();
    request.maxErrorBodyBytes = 4096;
    const HttpResult result = QCoro::waitFor(transport.send(request, HttpAbort()));
    ASSERT_TRUE(std::holds_alternative<HttpResponse>(result)) << std::get<HttpFailure>(result).reason.toStdString();
    EXPECT_EQ(std::get<HttpResponse>(result).status, 500);
    EXPECT_EQ(std::get<HttpResponse>(result).body, page.left(4096));

    // The archive: its page is longer than the feed says the archive is.
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem"), server.url("/error")));
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::downloadRefused);
    EXPECT_EQ(update->problem()->reason, "status 500");

    // The feed: its page is longer than a feed may be.
    update = makeUpdate("/error");
    update->check(true);
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(update->problem()->kind, Kind::feedRefused) << update->problem()->reason.toStdString();
    EXPECT_EQ(update->problem()->reason, "status 500");
}

TEST_F(SoftwareUpdateTest, AnHttpArchiveOffThisMachineIsNeverFetched) {
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem"),
                            QUrl("http://updates.example.org/lumeno.tar.gz")));
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::insecureAddress);
}

TEST_F(SoftwareUpdateTest, FeedsThatAreNotFeedsAreRefusedWithAClearProblem) {
    server.serve("/page.html", "<!DOCTYPE html>\n<html><head><title>Welcome</title></head><body>Hi</body></html>",
                 "text/html");
    server.serve("/huge.xml", feedOf(QByteArray(SoftwareUpdate::maxFeedBytes + 1, ' ')));
    server.serve("/broken.xml", feedOf("<item><title>Lumeno").left(120));
    const std::pair<const char*, Kind> cases[] = {
        {"/page.html", Kind::notAFeed},
        {"/huge.xml", Kind::feedTooLarge},
        {"/broken.xml", Kind::feedMalformed},
        {"/missing.xml", Kind::feedRefused},
    };
    for (const auto& [path, kind] : cases) {
        auto update = makeUpdate(path);
        update->check(true);
        ASSERT_TRUE(reaches(*update, Phase::failed)) << path;
        EXPECT_EQ(update->problem()->kind, kind) << path << ": " << update->problem()->reason.toStdString();
    }
}

// A user's own install that the user cannot write (a read-only ~/.local): the truth, and no download.
TEST_F(SoftwareUpdateTest, AnInstallTheUserCannotWriteIsNotReplacedAndSaysWhy) {
    if (!makePrefixReadOnly())
        GTEST_SKIP() << "root without mount rights cannot make a read-only prefix";
    auto update = makeUpdate();
    update->check(true);
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_FALSE(update->canInstall());
    EXPECT_EQ(update->installability().kind, Installability::Kind::unwritable);
    // Root meets the read-only mount, anyone else the folder's modes.
    EXPECT_TRUE(update->installability().reason.contains(": Read-only file system") ||
                update->installability().reason.contains(": Permission denied"))
        << update->installability().reason.toStdString();
    update->installUpdate();
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(update->problem()->kind, Kind::unwritable);
    EXPECT_EQ(server.requestsFor("/lumeno.tar.gz"), 0) << "nothing is even downloaded";
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
}

// A package's folder, the build folder and a folder whose bundle does not say: never replaced, though
// whoever runs the tests (root included) may write them.
TEST_F(SoftwareUpdateTest, OnlyAFolderInstalledInPlaceIsEverReplaced) {
    const std::pair<QString, Installability::Kind> cases[] = {
        {QStringLiteral("package"), Installability::Kind::packaged},
        {QStringLiteral("build"), Installability::Kind::notInstalled},
        {QString(), Installability::Kind::notInstalled},
    };
    for (const auto& [installation, kind] : cases) {
        writeProgram(installed, "1.0.0", key, installation);
        ASSERT_EQ(::access(installed.toLocal8Bit().constData(), W_OK), 0);
        auto update = makeUpdate();
        update->check(true);
        ASSERT_TRUE(reaches(*update, Phase::available)) << installation.toStdString();
        EXPECT_EQ(update->installability(), (Installability{kind, {}})) << installation.toStdString();
        update->installUpdate();
        ASSERT_TRUE(reaches(*update, Phase::failed));
        EXPECT_EQ(update->problem()->kind, Kind::unwritable);
    }
    EXPECT_EQ(server.requestsFor("/lumeno.tar.gz"), 0) << "nothing is even downloaded";
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
    EXPECT_FALSE(QDir(InstallFolder(installed).staging()).exists());
}

// A release that could never update itself again (no key to check updates with, or not marked as an
// install) is not installed, though signed correctly.
TEST_F(SoftwareUpdateTest, AReleaseThatWouldStrandItsUsersIsNotInstalled) {
    const QString privateKey = temp.filePath("keys/update-private.pem");
    const QByteArray keyless = buildArchive("1.1.0", QByteArray());
    serveRelease(signedItem(keyless, "1.1.0", "1.1", privateKey), keyless);
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::strandingRelease);
    EXPECT_TRUE(update->problem()->reason.contains("public-key")) << update->problem()->reason.toStdString();

    const QByteArray buildFolder = buildArchive("1.1.0", key, QStringLiteral("build"));
    serveRelease(signedItem(buildFolder, "1.1.0", "1.1", privateKey), buildFolder);
    auto again = makeUpdate();
    expectFailedUntouched(*again, Kind::strandingRelease);
    EXPECT_TRUE(again->problem()->reason.contains("installation")) << again->problem()->reason.toStdString();
}

// After a failed download or check the version found is offered again, and taken when it can be.
TEST_F(SoftwareUpdateTest, AFailedAttemptCanBeTriedAgain) {
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")),
                 archive.left(archive.size() / 2));
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::lengthMismatch);
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")));
    update->offerAgain();
    EXPECT_EQ(update->phase(), Phase::available);
    EXPECT_FALSE(update->problem());
    update->installUpdate();
    EXPECT_TRUE(reaches(*update, Phase::readyToInstall));
    update->offerAgain();
    EXPECT_EQ(update->phase(), Phase::readyToInstall) << "only a failure is taken back";
}

TEST_F(SoftwareUpdateTest, AFullDiskLeavesTheInstallAsItWas) {
    const QByteArray lib = temp.filePath("prefix/lib").toLocal8Bit();
    if (::geteuid() != 0 || ::mount("tmpfs", lib, "tmpfs", 0, "size=128k") != 0)
        GTEST_SKIP() << "a small file system needs mount rights";
    mounted = lib;
    writeProgram(installed, "1.0.0", key);
    // A release that unpacks to more than the disk holds.
    const QByteArray bytes = buildArchive("1.1.0", key, QStringLiteral("install"), QByteArray(512 * 1024, 'x'));
    serveRelease(signedItem(bytes, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")), bytes);
    auto update = makeUpdate();
    expectFailedUntouched(*update, Kind::diskFull);
}

TEST_F(SoftwareUpdateTest, CancelStopsTheDownloadAndKeepsTheOffer) {
    auto update = makeUpdate();
    update->check(true);
    ASSERT_TRUE(reaches(*update, Phase::available));
    update->installUpdate();
    EXPECT_EQ(update->phase(), Phase::downloading);
    update->installUpdate(); // a second click while it downloads starts nothing more
    update->cancel();
    EXPECT_EQ(update->phase(), Phase::available);
    EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
    // Started again, it goes to the end, with one request for each start.
    update->installUpdate();
    ASSERT_TRUE(reaches(*update, Phase::readyToInstall));
    // The cancelled request may have been called off before it reached the server.
    EXPECT_LE(server.requestsFor("/lumeno.tar.gz"), 2);
}

TEST_F(SoftwareUpdateTest, TheEnvironmentsFeedWinsAndPlainHttpOffThisMachineIsRefused) {
    AppBundle bundle = installedBundle();
    bundle.feed = QStringLiteral("https://updates.example.org/appcast.xml");
    QProcessEnvironment environment;
    EXPECT_EQ(SoftwareUpdate::feedAddress(bundle, environment), QUrl(bundle.feed));
    environment.insert("LUMENO_UPDATE_FEED", "http://127.0.0.1:8080/feed.xml");
    EXPECT_EQ(SoftwareUpdate::feedAddress(bundle, environment), QUrl("http://127.0.0.1:8080/feed.xml"));
    environment.insert("LUMENO_UPDATE_FEED", "http://updates.example.org/feed.xml");
    QString refusal;
    EXPECT_EQ(SoftwareUpdate::feedAddress(bundle, environment, &refusal), std::nullopt);
    EXPECT_EQ(refusal, "LUMENO_UPDATE_FEED");
    bundle.feed.clear();
    EXPECT_EQ(SoftwareUpdate::feedAddress(bundle, QProcessEnvironment()), std::nullopt);
}

} // namespace
} // namespace lumeno::testing
