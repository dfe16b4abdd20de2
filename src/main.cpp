#include "app/AppModel.h"
#include "app/AppServices.h"
#include "app/EventLoopHeartbeat.h"
#include "app/InstanceLock.h"
#include "app/LumenoApplication.h"
#include "app/QuitSignals.h"
#include "account/ServerAPI.h"
#include "foundation/AppBundle.h"
#include "foundation/AppEnvironment.h"
#include "foundation/DisplayVersion.h"
#include "foundation/LegacyMigration.h"
#include "foundation/SettingsStore.h"
#include "platform/linux/QtHttpTransport.h"
#include "shell/MenuBar.h"
#include "shell/FeedUpdater.h"
#include "shell/Shell.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/QtScheduler.h"
#include "updates/Handover.h"
#include "updates/InstallFolder.h"
#include "updates/SoftwareUpdate.h"
#include "updates/TrialRun.h"

#include <QDir>
#include <QFileInfo>
#include <QHostInfo>
#include <QProcess>
#include <QSysInfo>
#include <QThreadPool>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <cstdio>

using namespace lumeno;

namespace {

// The bundle beside the executable. A broken or missing one is told, and the program runs on with the
// identity it was built with and no update feed.
AppBundle installedBundle() {
    const QString directory = QCoreApplication::applicationDirPath();
    std::variant<AppBundle, QString> read = AppBundle::read(directory);
    if (const auto* bundle = std::get_if<AppBundle>(&read))
        return *bundle;
    const QString& problem = std::get<QString>(read);
    Log::app.error(QStringLiteral("%{public}s"), {problem});
    std::fprintf(stderr, "%s\n", qPrintable(problem));
    return AppBundle{QStringLiteral(LUMENO_IDENTIFIER), QStringLiteral(LUMENO_VERSION),
                     DisplayVersion::of(QStringLiteral(LUMENO_VERSION)), {}, {}, directory};
}

// How long a new version waits for the lock of the copy it replaces (which gives it up as it starts the new
// one; a copy from before the hand-over keeps it until it has quit).
constexpr std::chrono::milliseconds handoverWait{15000};

void runOnWorker(std::function<void()> job) {
    QThreadPool::globalInstance()->start(std::move(job));
}

// Where a new version started by an update says it has taken over.
QString handoverSocket() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).filePath(QStringLiteral("lumeno.handover"));
}

// Started by the command in place of the new version that crashed: that one, which the command moved to
// the staging folder. Read before anything clears that folder.
std::optional<FailedUpdate> fellBackFrom(const QStringList& arguments, const QString& directory) {
    if (!arguments.contains(SoftwareUpdate::fallbackArgument))
        return std::nullopt;
    const std::variant<AppBundle, QString> failed = AppBundle::read(InstallFolder(directory).staging());
    const AppBundle* bundle = std::get_if<AppBundle>(&failed);
    return FailedUpdate{bundle ? bundle->version : QString(), bundle ? bundle->displayVersion : QStringLiteral("(unknown)"),
                        FailedUpdate::crashedAfterStart()};
}

std::unique_ptr<Updater> makeUpdater(const AppBundle& bundle, SettingsStore& settings, Scheduler& scheduler,
                                     InstanceLock& instance, const QString& supportDirectory,
                                     const std::optional<FailedUpdate>& fellBack) {
    QString refusal;
    std::optional<QUrl> feed = SoftwareUpdate::feedAddress(bundle, QProcessEnvironment::systemEnvironment(), &refusal);
    if (!refusal.isEmpty())
        Log::app.error(QStringLiteral("Update feed refused: only https, or http to this machine, is accepted (%{public}s)"),
                       {refusal});
    return std::make_unique<FeedUpdater>(SoftwareUpdate::Environment{
        bundle, std::move(feed), std::make_shared<QtHttpTransport>(), settings, QSysInfo::kernelVersion(),
        [](const QString& program, const QStringList& arguments) -> std::optional<qint64> {
            qint64 pid = 0;
            if (!QProcess::startDetached(program, arguments, {}, &pid))
                return std::nullopt;
            return pid;
        },
        runOnWorker, scheduler, handoverSocket(), [&instance] { instance.release(); },
        [&instance] { return instance.acquire(); }, QDir(supportDirectory).filePath(QStringLiteral("failed-update.json")),
        fellBack});
}

} // namespace

int main(int argc, char* argv[]) {
    LumenoApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumeno"));
    QApplication::setOrganizationDomain(QStringLiteral("lumeno.app"));

    // The second copy asks the running one to come forward and ends at once, quietly, before it builds or
    // registers anything.
    InstanceLock instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    // Started by an update: the copy it replaces has given the lock up, or gives it up as it quits.
    const bool afterUpdate = app.arguments().contains(SoftwareUpdate::handoverArgument);
    if (!AppEnvironment::isRunningTests() && !instance.acquire(afterUpdate ? handoverWait : std::chrono::milliseconds(0))) {
        instance.askRunningCopyToReopen();
        return 0;
    }
    const AppBundle bundle = installedBundle();
    const std::optional<FailedUpdate> fellBack = fellBackFrom(app.arguments(), bundle.directory);
    QApplication::setApplicationVersion(bundle.version);
    Log::app.info(QStringLiteral("Lumeno %{public}s starting"), {bundle.version});

    const QString supportDirectory = AppEnvironment::supportDirectory();
    if (const std::optional<QString> problem = AppEnvironment::prepareSupportDirectory(supportDirectory)) {
        // Every file the program keeps goes there: nothing will be saved this run.
        Log::app.error(QStringLiteral("Couldn't prepare the support folder: %{public}s"), {*problem});
        std::fprintf(stderr, "%s\n", qPrintable(*problem));
    }
    const SystemClock clock;
    QtScheduler scheduler;
    Platform platform = Platform::create(clock, scheduler, supportDirectory);
    if (platform.unsupportedSession)
        std::fprintf(stderr, "%s\n", qPrintable(*platform.unsupportedSession));
    // Before any store is built, so the stores read what the migration brought over.
    if (!AppEnvironment::isRunningTests())
        LegacyMigration::run(*platform.defaults, platform.defaults->persistentDomain(LegacyMigration::formerProduct),
                             AppEnvironment::supportBaseDirectory());

    auto server = ServerAPI::live(ServerAPI::bundleURL(), QProcessEnvironment::systemEnvironment(),
                                  std::make_shared<QtHttpTransport>(), scheduler);
    auto services = std::make_unique<AppServices>(AppServices::Environment{
        platform, clock, scheduler, supportDirectory, server, QHostInfo::localHostName()});
    services->style.systemUserName = [] { return qEnvironmentVariable("NAME"); };
    AppModel model(std::move(services));
    Shell shell(model,
                [&bundle, &model, &scheduler, &instance, &supportDirectory, &fellBack] {
                    return makeUpdater(bundle, model.services().settings, scheduler, instance, supportDirectory, fellBack);
                },
                !AppEnvironment::isRunningTests());

    // Under the test runner a quit is never held, so a test can always end the program.
    if (!AppEnvironment::isRunningTests())
        app.holdsQuit = [&model] { return model.holdsQuit(); };
    app.prepareToQuit = [&model] { model.prepareToQuit(); };
    QObject::connect(&instance, &InstanceLock::reopenRequested, &shell, &Shell::reopen);
    // Through the application's quit guard.
    QObject::connect(&shell.menu(), &MenuBar::quitRequested, &app, &QCoreApplication::quit);
    // Ends the program without asking the quit guard: the services stop and the event loop ends.
    const auto stopAndExit = [&model] {
        model.prepareToQuit();
        QApplication::exit(0);
    };
    // The new version runs and holds the lock: nothing may hold the quit.
    QObject::connect(&shell, &Shell::replacedByUpdate, &model, stopAndExit);

    QuitSignals quitSignals;
    // The system asks the program to end: no prompt can hold that.
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &model, stopAndExit);

    // Under the test runner the program only builds itself: it listens to no key and opens no window.
    if (!AppEnvironment::isRunningTests()) {
        model.start();
        shell.start();
    }
    // Started by an update, this copy says it runs once its event loop does; the copy it replaces then
    // quits, and this run is the new version's trial. A later start with the replaced version still beside
    // the folder is on trial too. Any other start clears what an earlier update left.
    TakeoverNotice takeover(handoverSocket());
    TrialRun trial(bundle.directory, scheduler, runOnWorker);
    QObject::connect(&takeover, &TakeoverNotice::finished, &trial, &TrialRun::begin);
    QObject::connect(&shell.menu(), &MenuBar::quitRequested, &trial, &TrialRun::userQuit);
    const InstallFolder installFolder(bundle.directory);
    const bool onTrial = !fellBack && !afterUpdate &&
                         (installFolder.keepReplacedFromCutOffSwap(bundle.version) || QFileInfo(installFolder.previous()).isDir());
    if (!AppEnvironment::isRunningTests())
        scheduler.nextTurn([&] {
            if (afterUpdate)
                takeover.send();
            else if (onTrial)
                trial.begin();
            else
                trial.clearLeftovers();
        });
    std::optional<EventLoopHeartbeat> heartbeat;
    if (qEnvironmentVariableIsSet("LUMENO_HEARTBEAT"))
        heartbeat.emplace(scheduler, clock);
    const int status = app.exec();
    heartbeat.reset();
    model.prepareToQuit();
    return status;
}
