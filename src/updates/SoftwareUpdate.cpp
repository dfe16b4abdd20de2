#include "updates/SoftwareUpdate.h"

#include "foundation/ServerAddress.h"
#include "foundation/SettingsStore.h"
#include "support/Log.h"
#include "support/PostedJob.h"
#include "support/Text.h"
#include "updates/Appcast.h"
#include "updates/ArchiveUnpacker.h"
#include "updates/DownloadFile.h"
#include "updates/Ed25519.h"
#include "updates/Handover.h"
#include "updates/InstallFolder.h"
#include "updates/RedirectingFetch.h"
#include "updates/VersionOrder.h"

#include <QCoroFuture>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QScopeGuard>
#include <QSemaphore>
#include <mutex>

namespace lumeno {

namespace {

using Kind = UpdateProblem::Kind;

// The archive's one top folder, as the release archive is built.
const QString archiveTopFolder = QStringLiteral("lumeno");
const QString executableName = QStringLiteral("lumeno");

// The newest item this system can run that is newer than `installed`.
std::optional<AppcastItem> newestFor(const std::vector<AppcastItem>& items, const QString& installed,
                                     const QString& systemVersion) {
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items) {
        if (!VersionOrder::isNewer(item.version, installed))
            continue;
        if (!item.minimumSystemVersion.isEmpty() && VersionOrder::compare(systemVersion, item.minimumSystemVersion) < 0)
            continue;
        if (!newest || VersionOrder::isNewer(item.version, newest->version))
            newest = item;
    }
    return newest;
}

UpdateProblem unpackProblem(const ArchiveUnpacker::Failure& failure) {
    switch (failure.kind) {
    case ArchiveUnpacker::Failure::Kind::unreadable:
    case ArchiveUnpacker::Failure::Kind::unsafe:
        return {Kind::damagedArchive, failure.reason};
    case ArchiveUnpacker::Failure::Kind::diskFull:
        return {Kind::diskFull, failure.reason};
    case ArchiveUnpacker::Failure::Kind::unwritable:
        return {Kind::unwritable, failure.reason};
    }
    Q_UNREACHABLE();
}

// What an unpacked folder lacks to be `item`'s version of this program, one that can update itself again;
// nothing when it is.
std::optional<UpdateProblem> contentProblem(const QString& folder, const AppBundle& installed, const AppcastItem& item) {
    const auto wrong = [](const QString& reason) { return UpdateProblem{Kind::wrongContent, reason}; };
    const QFileInfo program(QDir(folder).filePath(executableName));
    if (!program.isFile() || !program.isExecutable())
        return wrong(QStringLiteral("no executable %1 in the archive").arg(executableName));
    const std::variant<AppBundle, QString> bundle = AppBundle::read(folder);
    if (const QString* problem = std::get_if<QString>(&bundle))
        return wrong(*problem);
    const AppBundle& unpacked = std::get<AppBundle>(bundle);
    if (unpacked.identifier != installed.identifier)
        return wrong(QStringLiteral("the archive holds %1").arg(unpacked.identifier));
    if (unpacked.version != item.version)
        return wrong(QStringLiteral("the archive holds version %1, the feed offers %2").arg(unpacked.version, item.version));
    // Installed, such a version would refuse every later update.
    if (unpacked.publicKey.isEmpty())
        return UpdateProblem{Kind::strandingRelease, QStringLiteral("the archive's bundle has no public-key")};
    if (unpacked.installation != AppBundle::Installation::installed)
        return UpdateProblem{Kind::strandingRelease, QStringLiteral("the archive's bundle does not say installation=install")};
    return std::nullopt;
}

// What went wrong with a download of `length` bytes into `download`; nothing when it all arrived.
std::optional<UpdateProblem> downloadProblem(const RedirectingFetch::Result& result, const DownloadFile& download,
                                             qint64 length) {
    if (const auto* refused = std::get_if<RedirectingFetch::Refused>(&result))
        return UpdateProblem{refused->why == RedirectingFetch::Refused::Why::tooMany ? Kind::downloadRedirectLoop
                                                                                     : Kind::downloadRedirectInsecure,
                             refused->reason};
    if (const HttpFailure* failure = std::get_if<HttpFailure>(&result)) {
        if (download.writeProblem())
            return download.writeProblem();
        return UpdateProblem{failure->kind == HttpFailure::Kind::tooLarge ? Kind::downloadTooLarge : Kind::downloadInterrupted,
                             failure->reason};
    }
    if (const int status = std::get<HttpResponse>(result).status; status != 200)
        return UpdateProblem{Kind::downloadRefused, QStringLiteral("status %1").arg(status)};
    if (download.size() != length)
        return UpdateProblem{Kind::lengthMismatch, QStringLiteral("%1 bytes, the feed says %2").arg(download.size()).arg(length)};
    return std::nullopt;
}

// Checks the download and unpacks it beside the installed folder; the staging folder is gone again when
// anything fails. Runs on the worker.
std::optional<UpdateProblem> prepare(DownloadFile& download, const AppBundle& installed, const AppcastItem& item) {
    const std::optional<QByteArrayView> archive = download.mapped();
    if (!archive)
        return UpdateProblem{Kind::damagedArchive, QStringLiteral("cannot map the download")};
    if (!Ed25519::verify(installed.publicKey, *archive, item.enclosure.edSignature))
        return UpdateProblem{Kind::badSignature, QStringLiteral("signature does not match %1").arg(item.enclosure.url.toString())};
    const InstallFolder folder(installed.directory);
    if (!folder.clearStaging())
        return UpdateProblem{Kind::unwritable, QStringLiteral("cannot clear %1").arg(folder.staging())};
    std::optional<UpdateProblem> problem;
    if (const auto failure = ArchiveUnpacker::unpack(download.descriptor(), archiveTopFolder, folder.staging()))
        problem = unpackProblem(*failure);
    else
        problem = contentProblem(folder.staging(), installed, item);
    if (problem)
        folder.clearStaging();
    return problem;
}

// Swaps the prepared version in. Runs on the worker.
std::optional<UpdateProblem> swapIn(const QString& directory) {
    const InstallFolder folder(directory);
    if (const std::optional<QString> failure = folder.swapInStaging())
        return UpdateProblem{Kind::unwritable, *failure};
    return std::nullopt;
}

} // namespace

// Which of a quit and the end of the worker's preparing comes last, so that that one takes the prepared
// version off the disk.
class SoftwareUpdate::Preparation {
public:
    // The worker is done; false when this copy has quit meanwhile.
    bool finish() {
        const std::lock_guard lock(mutex_);
        done_ = true;
        return !abandoned_;
    }
    // This copy quits; true when the worker was done already.
    bool abandon() {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        return done_;
    }

private:
    std::mutex mutex_;
    bool done_ = false;
    bool abandoned_ = false;
};

SoftwareUpdate::SoftwareUpdate(Environment environment, QObject* parent)
    : QObject(parent), env_(std::move(environment)) {
    if (!env_.fellBackFrom)
        return;
    // The command put this version back at this start: the one it replaced crashed before it had shown
    // that it runs. Said here, and remembered so that it is not announced again.
    UpdateProblem problem{Kind::crashedAfterUpdate, QStringLiteral("the command put the replaced version back")};
    problem.newVersion = env_.fellBackFrom->displayVersion;
    problem.keptVersion = env_.bundle.displayVersion;
    recordFailure(*env_.fellBackFrom);
    fail(std::move(problem));
}

SoftwareUpdate::~SoftwareUpdate() {
    abort_.abort();
    env_.scheduler.cancel(handoverTimer_);
    // This copy quits (the user, the session) before the new version took over: the new one is ended and the
    // replaced version put back, so that the next start is of one known to run. The event loop is over.
    if (successor_ && successor_->isWaiting() && successor_->endNow())
        InstallFolder(env_.bundle.directory).restorePrevious();
    // A version prepared and never installed would lie beside the install, at the size of a release, until
    // the next start. One still being prepared is removed by the worker when it is done, unless it is
    // done already.
    if (phase_ == Phase::readyToInstall || (phase_ == Phase::verifying && preparation_->abandon()))
        discardPreparedOnQuit();
}

void SoftwareUpdate::discardPreparedOnQuit() {
    // On the worker, as any removal of a release's files; the quit waits for it a moment at most.
    const auto removed = std::make_shared<QSemaphore>();
    env_.runOnWorker([directory = env_.bundle.directory, removed] {
        if (!InstallFolder(directory).clearStaging())
            Log::app.error(QStringLiteral("Couldn't remove the update prepared beside %{public}s"), {directory});
        removed->release();
    });
    if (!removed->tryAcquire(1, quitWait))
        Log::app.error(QStringLiteral("Quit before the update prepared beside %{public}s was removed"),
                       {env_.bundle.directory});
}

std::optional<QUrl> SoftwareUpdate::feedAddress(const AppBundle& bundle, const QProcessEnvironment& environment,
                                                QString* refusal) {
    const QString fromEnvironment = Text::trimmed(environment.value(QStringLiteral("LUMENO_UPDATE_FEED")));
    const QString chosen = fromEnvironment.isEmpty() ? Text::trimmed(bundle.feed) : fromEnvironment;
    if (chosen.isEmpty())
        return std::nullopt;
    const QUrl url(chosen, QUrl::StrictMode);
    if (!ServerAddress::isAccepted(url)) {
        if (refusal)
            *refusal = fromEnvironment.isEmpty() ? QStringLiteral("bundle feed") : QStringLiteral("LUMENO_UPDATE_FEED");
        return std::nullopt;
    }
    return url;
}

bool SoftwareUpdate::isInstalling() const {
    return phase_ == Phase::downloading || phase_ == Phase::verifying || phase_ == Phase::installing;
}

void SoftwareUpdate::setPhase(Phase phase) {
    phase_ = phase;
    emit changed();
}

void SoftwareUpdate::fail(UpdateProblem problem) {
    Log::app.error(QStringLiteral("Update failed: %{public}s (%{public}s)"), {problem.title(), problem.reason});
    problem_ = std::move(problem);
    setPhase(Phase::failed);
    emit failed(*problem_, userInitiated_);
}

void SoftwareUpdate::check(bool userInitiated) {
    if (isInstalling())
        return;
    userInitiated_ = userInitiated;
    if (env_.feed)
        runCheck(userInitiated, ++generation_);
    else if (userInitiated)
        explainNoFeed(++generation_);
}

QCoro::Task<bool> SoftwareUpdate::learnWhetherInstallable(int generation) {
    QPointer<SoftwareUpdate> self(this);
    QFuture<Installability> learning =
        postedJob(env_.runOnWorker, [directory = env_.bundle.directory, installation = env_.bundle.installation] {
            return InstallFolder(directory).installability(installation);
        });
    const Installability installability = co_await learning;
    if (!self || generation != generation_)
        co_return false;
    installability_ = installability;
    co_return true;
}

QCoro::Task<> SoftwareUpdate::explainNoFeed(int generation) {
    // Awaited into a variable: g++ 12 destroys a task awaited inside a condition twice.
    const bool current = co_await learnWhetherInstallable(generation);
    if (current)
        setPhase(Phase::noFeed);
}

QCoro::Task<> SoftwareUpdate::runCheck(bool userInitiated, int generation) {
    QPointer<SoftwareUpdate> self(this);
    problem_.reset();
    setPhase(Phase::checking);
    HttpRequest request;
    request.url = *env_.feed;
    request.maxResponseBytes = maxFeedBytes;
    request.maxErrorBodyBytes = maxErrorBodyBytes;
    abort_ = HttpAbort();
    const RedirectingFetch::Result result = co_await RedirectingFetch::fetch(*env_.transport, request, abort_);
    if (!self || generation != generation_)
        co_return;

    if (const auto* refused = std::get_if<RedirectingFetch::Refused>(&result)) {
        fail({refused->why == RedirectingFetch::Refused::Why::tooMany ? Kind::feedRedirectLoop : Kind::feedRedirectInsecure,
              refused->reason});
        co_return;
    }
    if (const HttpFailure* failure = std::get_if<HttpFailure>(&result)) {
        fail({failure->kind == HttpFailure::Kind::tooLarge ? Kind::feedTooLarge : Kind::feedUnreachable, failure->reason});
        co_return;
    }
    const HttpResponse& response = std::get<HttpResponse>(result);
    if (response.status != 200) {
        fail({Kind::feedRefused, QStringLiteral("status %1").arg(response.status)});
        co_return;
    }
    const std::variant<Appcast::Feed, Appcast::Failure> read = Appcast::read(response.body);
    if (const Appcast::Failure* failure = std::get_if<Appcast::Failure>(&read)) {
        fail({failure->kind == Appcast::Failure::Kind::notAFeed ? Kind::notAFeed : Kind::feedMalformed, failure->reason});
        co_return;
    }
    const Appcast::Feed& feed = std::get<Appcast::Feed>(read);
    for (const QString& skipped : feed.skipped)
        Log::app.error(QStringLiteral("Update feed item left out: %{public}s"), {skipped});

    if (!failedRead_) {
        QFuture<std::optional<FailedUpdate>> reading =
            postedJob(env_.runOnWorker, [path = env_.failedUpdateFile] { return FailedUpdate::read(path); });
        std::optional<FailedUpdate> failed = co_await reading;
        if (!self || generation != generation_)
            co_return;
        if (!failedRead_)
            failed_ = std::move(failed);
        failedRead_ = true;
    }
    std::optional<AppcastItem> newest = newestFor(feed.items, env_.bundle.version, env_.systemVersion);
    const bool failedHere = newest && failed_ && newest->version == failed_->version;
    if (failedHere && !userInitiated)
        Log::app.info(QStringLiteral("Update %{public}s couldn't start here before; not announced"), {newest->version});
    const bool skipped =
        newest && !userInitiated && (newest->version == env_.settings.skippedUpdateVersion() || failedHere);
    if (!newest || skipped) {
        item_.reset();
        setPhase(userInitiated ? Phase::upToDate : Phase::idle);
        emit noUpdate(userInitiated);
        co_return;
    }
    const bool current = co_await learnWhetherInstallable(generation);
    if (!current)
        co_return;
    item_ = std::move(newest);
    setPhase(Phase::available);
    emit foundUpdate(*item_, userInitiated);
}

std::optional<FailedUpdate> SoftwareUpdate::failureOfOffer() const {
    if (item_ && failed_ && item_->version == failed_->version)
        return failed_;
    return std::nullopt;
}

void SoftwareUpdate::recordFailure(FailedUpdate failure) {
    failed_ = failure;
    failedRead_ = true;
    if (env_.failedUpdateFile.isEmpty())
        return;
    env_.runOnWorker([failure = std::move(failure), path = env_.failedUpdateFile] {
        if (const std::optional<QString> problem = failure.write(path))
            Log::app.error(QStringLiteral("Couldn't remember the version that failed: %{public}s"), {*problem});
    });
}

void SoftwareUpdate::skipThisVersion() {
    if (!item_)
        return;
    env_.settings.setSkippedUpdateVersion(item_->version);
    item_.reset();
    setPhase(Phase::idle);
    emit offerDismissed();
}

void SoftwareUpdate::offerAgain() {
    if (phase_ != Phase::failed || !item_)
        return;
    problem_.reset();
    setPhase(Phase::available);
}

void SoftwareUpdate::installUpdate() {
    if (!item_ || isInstalling())
        return;
    userInitiated_ = true;
    runDownload(++generation_);
}

QCoro::Task<> SoftwareUpdate::runDownload(int generation) {
    QPointer<SoftwareUpdate> self(this);
    const AppcastItem item = *item_;
    problem_.reset();
    if (!canInstall()) {
        fail({Kind::unwritable, QStringLiteral("%1 is not Lumeno's to replace: %2")
                                    .arg(env_.bundle.directory, installability_.explanation())});
        co_return;
    }
    if (!ServerAddress::isAccepted(item.enclosure.url)) {
        fail({Kind::insecureAddress, item.enclosure.url.toString()});
        co_return;
    }
    if (env_.bundle.publicKey.isEmpty()) {
        fail({Kind::noPublicKey, QStringLiteral("bundle has no public-key")});
        co_return;
    }
    if (item.enclosure.length > maxArchiveBytes) {
        fail({Kind::archiveTooLarge, QStringLiteral("the feed states %1 bytes").arg(item.enclosure.length)});
        co_return;
    }
    received_ = 0;
    setPhase(Phase::downloading);
    QFuture<DownloadFile::Created> creating = postedJob(
        env_.runOnWorker, [directory = env_.bundle.directory, length = item.enclosure.length] {
            return DownloadFile::create(directory, length);
        });
    DownloadFile::Created created = co_await creating;
    std::shared_ptr<DownloadFile> download;
    if (auto* file = std::get_if<std::shared_ptr<DownloadFile>>(&created))
        download = std::move(*file);
    // Closed, and so freed, on the worker: giving back a large file's blocks takes the disk's time.
    const auto closeOnWorker = qScopeGuard([post = env_.runOnWorker, &download] {
        if (download)
            post([file = std::move(download)]() mutable { file.reset(); });
    });
    if (!self || generation != generation_)
        co_return;
    if (const UpdateProblem* problem = std::get_if<UpdateProblem>(&created)) {
        fail(*problem);
        co_return;
    }

    HttpRequest request;
    request.url = item.enclosure.url;
    request.maxResponseBytes = item.enclosure.length; // refused as soon as it goes past
    request.maxErrorBodyBytes = maxErrorBodyBytes;
    request.onBody = [file = download.get()](QByteArrayView piece) { return file->append(piece); };
    request.onProgress = [self, generation, total = item.enclosure.length](qint64 received) {
        if (!self || generation != self->generation_)
            return;
        self->received_ = received;
        emit self->progress(received, total);
    };
    abort_ = HttpAbort();
    const RedirectingFetch::Result result = co_await RedirectingFetch::fetch(*env_.transport, request, abort_);
    if (!self || generation != generation_)
        co_return;
    if (const std::optional<UpdateProblem> problem = downloadProblem(result, *download, item.enclosure.length)) {
        fail(*problem);
        co_return;
    }

    preparation_ = std::make_shared<Preparation>();
    setPhase(Phase::verifying);
    QFuture<std::optional<UpdateProblem>> preparing =
        postedJob(env_.runOnWorker, [download, bundle = env_.bundle, item, preparation = preparation_] {
            std::optional<UpdateProblem> problem = prepare(*download, bundle, item);
            if (!preparation->finish())
                InstallFolder(bundle.directory).clearStaging();
            return problem;
        });
    const std::optional<UpdateProblem> problem = co_await preparing;
    if (!self)
        co_return;
    if (generation != generation_) {
        // Cancelled while it was being unpacked: what was unpacked goes.
        env_.runOnWorker([directory = env_.bundle.directory] { InstallFolder(directory).clearStaging(); });
        co_return;
    }
    if (problem) {
        fail(*problem);
        co_return;
    }
    Log::app.info(QStringLiteral("Update %{public}s ready to install"), {item.version});
    setPhase(Phase::readyToInstall);
}

void SoftwareUpdate::cancel() {
    // A prepared version goes from the disk; one still being prepared clears its own when it finishes.
    if (phase_ == Phase::readyToInstall)
        env_.runOnWorker([directory = env_.bundle.directory] { InstallFolder(directory).clearStaging(); });
    ++generation_;
    abort_.abort();
    setPhase(item_ ? Phase::available : Phase::idle);
}

void SoftwareUpdate::installAndRelaunch() {
    if (phase_ != Phase::readyToInstall)
        return;
    ++generation_;
    runInstall();
}

QCoro::Task<> SoftwareUpdate::runInstall() {
    QPointer<SoftwareUpdate> self(this);
    setPhase(Phase::installing);
    const QString directory = env_.bundle.directory;
    QFuture<std::optional<UpdateProblem>> swapping = postedJob(env_.runOnWorker, [directory] { return swapIn(directory); });
    const std::optional<UpdateProblem> problem = co_await swapping;
    if (!self)
        co_return;
    if (problem) {
        fail(*problem);
        co_return;
    }
    startNewVersion();
}

void SoftwareUpdate::startNewVersion() {
    // The new program takes the lock before it says it runs; this copy keeps running without it meanwhile.
    env_.releaseLock();
    successor_ = std::make_unique<SuccessorWatch>(env_.handoverSocket);
    if (const std::optional<QString> failure = successor_->listen()) {
        putBack(Kind::relaunchFailed, QStringLiteral("cannot listen on %1: %2").arg(env_.handoverSocket, *failure));
        return;
    }
    const QString program = QDir(env_.bundle.directory).filePath(executableName);
    const std::optional<qint64> pid = env_.launch(program, {QString(handoverArgument)});
    if (!pid) {
        putBack(Kind::relaunchFailed, QStringLiteral("cannot start %1").arg(program));
        return;
    }
    successor_->watch(*pid);
    connect(successor_.get(), &SuccessorWatch::tookOver, this, [this] {
        env_.scheduler.cancel(handoverTimer_);
        Log::app.info(QStringLiteral("Installed update %{public}s; the new version has taken over"), {item_->version});
        emit relaunched();
    });
    connect(successor_.get(), &SuccessorWatch::ended, this, [this] {
        env_.scheduler.cancel(handoverTimer_);
        putBack(Kind::relaunchFailed, QStringLiteral("the new version ended before it took over"));
    });
    handoverTimer_ = env_.scheduler.after(handoverSeconds, [this] {
        handoverTimedOut_ = true;
        Log::app.error(QStringLiteral("The new version did not take over within %{public}s s; ending it"),
                       {QString::number(handoverSeconds)});
        successor_->end(); // `ended` follows
    });
}

QCoro::Task<> SoftwareUpdate::putBack(UpdateProblem::Kind kind, QString reason) {
    QPointer<SoftwareUpdate> self(this);
    if (!env_.retakeLock()) {
        // Another copy started meanwhile: from the install folder, so it runs the new version. It takes over.
        Log::app.info(QStringLiteral("Installed update %{public}s; another copy runs it"), {item_->version});
        emit relaunched();
        co_return;
    }
    QFuture<std::optional<QString>> restoring =
        postedJob(env_.runOnWorker, [directory = env_.bundle.directory] { return InstallFolder(directory).restorePrevious(); });
    const std::optional<QString> failure = co_await restoring;
    if (!self)
        co_return;
    recordFailure({item_->version, item_->displayVersion,
                   handoverTimedOut_ ? FailedUpdate::neverGotReady() : FailedUpdate::endedAtStart()});
    UpdateProblem problem{failure ? Kind::putBackFailed : kind, failure ? reason + QStringLiteral("; ") + *failure : reason};
    problem.newVersion = item_->displayVersion;
    problem.keptVersion = env_.bundle.displayVersion;
    fail(std::move(problem));
}

} // namespace lumeno
