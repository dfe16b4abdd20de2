#pragma once

#include "platform/AccessibilityTrust.h"
#include "platform/AudioInput.h"
#include "platform/BuildIdentity.h"
#include "platform/DefaultsStore.h"
#include "platform/GlobalHotkeys.h"
#include "platform/KeyboardLayoutSource.h"
#include "platform/MicrophoneAuthorizer.h"
#include "platform/PanelWindowHints.h"
#include "platform/ModifierState.h"
#include "platform/ScreenInfo.h"
#include "platform/SecretStore.h"
#include "platform/SpeechEngine.h"
#include "platform/Workspace.h"

#include <QString>
#include <memory>

namespace lumeno {

class Clock;

// Which set of operating-system ports the program runs on, chosen once at start from LUMENO_PLATFORM.
enum class PlatformKind { linux, fake };

PlatformKind platformKindFromEnvironment();

// One instance of every port, owned for the whole run. Code above the ports takes the references it needs
// and never learns which kind it got.
struct Platform {
    std::unique_ptr<DefaultsStore> defaults;
    std::unique_ptr<SecretStore> secrets;
    std::unique_ptr<MicrophoneAuthorizer> microphone;
    std::unique_ptr<AccessibilityTrust> accessibilityTrust;
    std::unique_ptr<KeyboardLayoutSource> keyboardLayout;
    std::unique_ptr<BuildIdentity> build;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<ScreenInfo> screens;
    std::unique_ptr<PanelWindowHints> panelHints;
    std::unique_ptr<GlobalHotkeys> globalHotkeys;
    std::unique_ptr<ModifierState> modifierState; // may read globalHotkeys: declared after it
    std::unique_ptr<AudioInput> audioInput;
    std::unique_ptr<SpeechEngine> speechEngine;

    // `clock` must outlive the platform (it dates files moved aside); `supportDirectory` is the program's
    // own folder, where the Linux side keeps its secrets.
    static Platform create(PlatformKind kind, const Clock& clock, const QString& supportDirectory);
};

} // namespace lumeno
