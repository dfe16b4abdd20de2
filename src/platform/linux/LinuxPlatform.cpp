#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/LinuxAccessibilityTrust.h"
#include "platform/linux/LinuxBuildIdentity.h"
#include "platform/linux/LinuxDefaultsStore.h"
#include "platform/linux/LinuxKeyboardLayoutSource.h"
#include "platform/linux/LinuxMicrophoneAuthorizer.h"
#include "platform/linux/LinuxSecretStore.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/QtScreenInfo.h"
#include "platform/linux/X11PanelWindowHints.h"
#include "platform/linux/UnavailableAudioInput.h"
#include "platform/linux/UnavailableGlobalHotkeys.h"
#include "platform/linux/UnavailableModifierState.h"
#include "platform/linux/UnavailableSpeechEngine.h"

#include <QCoreApplication>
#include <QDir>

namespace lumeno {

Platform makeLinuxPlatform(const Clock& clock, const QString& supportDirectory) {
    Platform platform;
    platform.defaults =
        std::make_unique<LinuxDefaultsStore>(LinuxDefaultsStore::domainPath(QStringLiteral("Lumeno")), clock);
    platform.secrets = std::make_unique<LinuxSecretStore>(
        QDir(supportDirectory).filePath(QStringLiteral("secrets.json")), clock);
    platform.microphone = std::make_unique<LinuxMicrophoneAuthorizer>();
    platform.accessibilityTrust = std::make_unique<LinuxAccessibilityTrust>();
    platform.keyboardLayout = std::make_unique<LinuxKeyboardLayoutSource>();
    platform.build = std::make_unique<LinuxBuildIdentity>(QCoreApplication::applicationFilePath());
    platform.workspace = std::make_unique<LinuxWorkspace>();
    platform.screens = std::make_unique<QtScreenInfo>();
    platform.panelHints = std::make_unique<X11PanelWindowHints>();
    platform.globalHotkeys = std::make_unique<UnavailableGlobalHotkeys>();
    platform.modifierState = std::make_unique<UnavailableModifierState>();
    platform.audioInput = std::make_unique<UnavailableAudioInput>();
    platform.speechEngine = std::make_unique<UnavailableSpeechEngine>();
    return platform;
}

} // namespace lumeno
