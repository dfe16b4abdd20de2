#include "foundation/AppEnvironment.h"
#include "foundation/LegacyMigration.h"
#include "foundation/SettingsStore.h"
#include "platform/Platform.h"
#include "support/Clock.h"
#include "support/QtScheduler.h"

#include <QApplication>

using namespace lumeno;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumeno"));
    QApplication::setOrganizationDomain(QStringLiteral("lumeno.app"));
    QApplication::setQuitOnLastWindowClosed(false);

    const SystemClock clock;
    QtScheduler scheduler;
    Platform platform =
        Platform::create(platformKindFromEnvironment(), clock, scheduler, AppEnvironment::supportDirectory());
    // Before any store is built, so the stores read what the migration brought over.
    if (!AppEnvironment::isRunningTests())
        LegacyMigration::run(*platform.defaults,
                             platform.defaults->persistentDomain(LegacyMigration::formerProduct),
                             AppEnvironment::supportBaseDirectory());
    SettingsStore settings(*platform.defaults, *platform.secrets);

    return app.exec();
}
