#include "app/AppModel.h"
#include "app/AppServices.h"
#include "app/EventLoopHeartbeat.h"
#include "app/InstanceLock.h"
#include "app/LumenoApplication.h"
#include "app/QuitSignals.h"
#include "account/ServerAPI.h"
#include "foundation/AppBundle.h"
#include "foundation/AppEnvironment.h"
#include "foundation/LegacyMigration.h"
#include "platform/linux/QtHttpTransport.h"
#include "shell/MenuBar.h"
#include "shell/PackageUpdater.h"
#include "shell/Shell.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/QtScheduler.h"

#include <QHostInfo>
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
    return AppBundle{QStringLiteral(LUMENO_IDENTIFIER), QStringLiteral(LUMENO_VERSION), QStringLiteral(LUMENO_VERSION),
                     {}, {}, directory};
}

} // namespace

int main(int argc, char* argv[]) {
    LumenoApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumeno"));
    QApplication::setOrganizationDomain(QStringLiteral("lumeno.app"));

    // The second copy asks the running one to come forward and ends at once, quietly, before it builds or
    // registers anything.
    InstanceLock instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!AppEnvironment::isRunningTests() && !instance.acquire()) {
        instance.askRunningCopyToReopen();
        return 0;
    }
    const AppBundle bundle = installedBundle();
    QApplication::setApplicationVersion(bundle.version);
    // Names the .desktop entry, so that desktops match the windows to it.
    QGuiApplication::setDesktopFileName(bundle.identifier);
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
    const QString version = QApplication::applicationVersion();
    AppModel model(std::move(services));
    Shell shell(model, [version] { return std::make_unique<PackageUpdater>(version); },
                !AppEnvironment::isRunningTests());

    // Under the test runner a quit is never held, so a test can always end the program.
    if (!AppEnvironment::isRunningTests())
        app.holdsQuit = [&model] { return model.holdsQuit(); };
    app.prepareToQuit = [&model] { model.prepareToQuit(); };
    QObject::connect(&instance, &InstanceLock::reopenRequested, &shell, &Shell::reopen);
    // Through the application's quit guard.
    QObject::connect(&shell.menu(), &MenuBar::quitRequested, &app, &QCoreApplication::quit);

    QuitSignals quitSignals;
    // The system asks the program to end: no prompt can hold that, so the services stop and it exits
    // without asking the quit guard.
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &model, [&model] {
        model.prepareToQuit();
        QApplication::exit(0);
    });

    // Under the test runner the program only builds itself: it listens to no key and opens no window.
    if (!AppEnvironment::isRunningTests()) {
        model.start();
        shell.start();
    }
    std::optional<EventLoopHeartbeat> heartbeat;
    if (qEnvironmentVariableIsSet("LUMENO_HEARTBEAT"))
        heartbeat.emplace(scheduler, clock);
    const int status = app.exec();
    heartbeat.reset();
    model.prepareToQuit();
    return status;
}
