#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/DesktopSession.h"
#include "platform/linux/LinuxAccessibilityTrust.h"
#include "platform/linux/LinuxBuildIdentity.h"
#include "platform/linux/LinuxDefaultsStore.h"
#include "platform/linux/LinuxKeyboardLayoutSource.h"
#include "platform/linux/LinuxMicrophoneAuthorizer.h"
#include "platform/linux/LinuxSecretStore.h"
#include "platform/linux/LinuxTrayWatch.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/PocketSphinxEngine.h"
#include "platform/linux/PulseAudioInput.h"
#include "platform/linux/PulseAudioServer.h"
#include "platform/linux/QtScreenInfo.h"
#include "platform/linux/UnavailableGlobalHotkeys.h"
#include "platform/linux/UnavailableKeySynth.h"
#include "platform/linux/UnavailableModifierState.h"
#include "platform/linux/WavFileAudioInput.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11GlobalHotkeys.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11ModifierState.h"
#include "platform/linux/X11PanelWindowHints.h"
#include "platform/linux/X11Pasteboard.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "support/Log.h"

#include <QCoreApplication>
#include <QDir>

namespace lumeno {

namespace {

// The keyboard, the clipboard and the frontmost application through the X server. Hot keys and synthetic
// keys each get a connection of their own (one holds grabs and event selections, the other sends XTest
// input); queries share a third.
void addX11Ports(Platform& platform, LinuxWorkspace& workspace, Scheduler& scheduler,
                 const std::shared_ptr<XcbConnection>& queries) {
    const std::shared_ptr<XcbConnection> hotkeys = queries ? XcbConnection::open() : nullptr;
    const std::shared_ptr<XcbConnection> keys = queries ? XcbConnection::open() : nullptr;
    const auto frontmost = queries ? std::make_shared<X11FrontmostApplication>(queries) : nullptr;
    if (frontmost) {
        workspace.frontmost = [frontmost] { return frontmost->read(); };
        workspace.open = [frontmost] { return frontmost->openApplications(); };
    }
    platform.pasteboard = std::make_unique<X11Pasteboard>(
        scheduler,
        [frontmost]() -> std::optional<qint64> {
            const std::optional<RunningApplication> application = frontmost ? frontmost->read() : std::nullopt;
            return application ? std::optional(application->pid) : std::nullopt;
        },
        queries);
    if (!hotkeys || !keys) {
        platform.globalHotkeys = std::make_unique<UnavailableGlobalHotkeys>();
        platform.modifierState = std::make_unique<UnavailableModifierState>();
        platform.keySynth = std::make_unique<UnavailableKeySynth>();
        return;
    }
    const auto synthetic = std::make_shared<X11SyntheticKeys>();
    platform.globalHotkeys = std::make_unique<X11GlobalHotkeys>(hotkeys, synthetic);
    platform.modifierState = std::make_unique<X11ModifierState>(queries);
    platform.keySynth = std::make_unique<X11KeySynth>(keys, synthetic, scheduler);
}

} // namespace

Platform makeLinuxPlatform(const Clock& clock, Scheduler& scheduler, const QString& supportDirectory) {
    Platform platform;
    platform.defaults =
        std::make_unique<LinuxDefaultsStore>(LinuxDefaultsStore::domainPath(QStringLiteral("Lumeno")), clock);
    platform.secrets = std::make_unique<LinuxSecretStore>(
        QDir(supportDirectory).filePath(QStringLiteral("secrets.json")), clock);
    // A recording in place of the microphone, for trying the program where there is none.
    const QString audioFile = qEnvironmentVariable("LUMENO_AUDIO_FILE");
    const auto sound = audioFile.isEmpty() ? std::make_shared<PulseAudioServer>(scheduler) : nullptr;
    platform.microphone = std::make_unique<LinuxMicrophoneAuthorizer>(sound);
    platform.accessibilityTrust = std::make_unique<LinuxAccessibilityTrust>();
    platform.keyboardLayout = std::make_unique<LinuxKeyboardLayoutSource>();
    platform.build = std::make_unique<LinuxBuildIdentity>(QCoreApplication::applicationFilePath());
    auto workspace = std::make_unique<LinuxWorkspace>();
    platform.screens = std::make_unique<QtScreenInfo>();
    const std::shared_ptr<XcbConnection> queries = XcbConnection::open();
    platform.panelHints = std::make_unique<X11PanelWindowHints>(queries);
    platform.trayWatch = std::make_unique<LinuxTrayWatch>(queries, QDBusConnection::sessionBus());
    const DesktopSession session = DesktopSession::fromEnvironment(queries != nullptr);
    platform.unsupportedSession = session.unsupportedReason();
    if (platform.unsupportedSession)
        Log::app.error("%{public}s", {*platform.unsupportedSession});
    if (const std::optional<QString> limitation = session.limitation())
        Log::app.info("%{public}s", {*limitation});
    addX11Ports(platform, *workspace, scheduler, queries);
    platform.workspace = std::move(workspace);
    platform.accessibility = std::make_unique<AtspiAccessibility>();
    if (sound)
        platform.audioInput = std::make_unique<PulseAudioInput>(sound);
    else
        platform.audioInput = std::make_unique<WavFileAudioInput>(audioFile, scheduler);
    platform.speechEngine = std::make_unique<PocketSphinxEngine>(PocketSphinxModel::debianRoot(),
                                                                 PocketSphinxDecoder::forDictation(), supportDirectory);
    return platform;
}

} // namespace lumeno
