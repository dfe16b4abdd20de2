// The settings file (defaults.json): any bytes in it give a settings store with every value readable, and
// a value set afterwards is kept beside whatever else the file held.
#include "FuzzSupport.h"

#include "foundation/SettingsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/linux/LinuxDefaultsStore.h"
#include "support/Clock.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("defaults.json"));
    QFile file(path);
    fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the settings file can be written");
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    ManualClock clock;
    LinuxDefaultsStore defaults(path, clock);
    FakeSecretStore secrets;
    SettingsStore settings(defaults, secrets);
    settings.setPaused(!settings.isPaused());
    defaults.finishDiskWork(); // the file is written on a worker

    LinuxDefaultsStore reread(path, clock);
    FakeSecretStore moreSecrets;
    const SettingsStore again(reread, moreSecrets);
    fuzz::require(again.isPaused() == settings.isPaused(), "a setting is kept in the file");
    fuzz::require(again.hotkey() == settings.hotkey(), "the hot key read back is the one read before");
    return 0;
}
