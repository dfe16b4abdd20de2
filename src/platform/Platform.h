#pragma once

#include "platform/Accessibility.h"
#include "platform/AccessibilityTrust.h"
#include "platform/AudioInput.h"
#include "platform/BuildIdentity.h"
#include "platform/DefaultsStore.h"
#include "platform/GlobalHotkeys.h"
#include "platform/KeySynth.h"
#include "platform/KeyboardLayoutSource.h"
#include "platform/MicrophoneAuthorizer.h"
#include "platform/PanelWindowHints.h"
#include "platform/ModifierState.h"
#include "platform/Pasteboard.h"
#include "platform/ScreenInfo.h"
#include "platform/SecretStore.h"
#include "platform/SpeechEngine.h"
#include "platform/TrayWatch.h"
#include "platform/Workspace.h"

#include <QString>
#include <memory>
#include <optional>

namespace lumeno {

class Clock;
class Scheduler;

// One instance of every port, owned for the whole run. Code above the ports takes the references it needs
// and never learns which kind it got: the real desktop's, or (in tests) the fake one of
// platform/fake/FakePlatform.h.
struct Platform {
    Platform() = default;
    Platform(Platform&&) = default;
    Platform& operator=(Platform&&) = default;
    // Reads of other applications still running on worker threads (a frozen application answers only at
    // its time-out) use the ports: they end before the ports go.
    ~Platform();

    // What several ports work on together (the fake desktop) and must outlive them: declared first, so it
    // goes last.
    std::shared_ptr<void> sharedDesktop;
    std::unique_ptr<DefaultsStore> defaults;
    std::unique_ptr<SecretStore> secrets;
    std::unique_ptr<MicrophoneAuthorizer> microphone;
    std::unique_ptr<AccessibilityTrust> accessibilityTrust;
    std::unique_ptr<KeyboardLayoutSource> keyboardLayout;
    std::unique_ptr<BuildIdentity> build;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<ScreenInfo> screens;
    std::unique_ptr<PanelWindowHints> panelHints;
    std::unique_ptr<TrayWatch> trayWatch;
    std::unique_ptr<GlobalHotkeys> globalHotkeys;
    std::unique_ptr<ModifierState> modifierState; // may read globalHotkeys: declared after it
    std::unique_ptr<AudioInput> audioInput;
    std::unique_ptr<SpeechEngine> speechEngine;
    std::unique_ptr<Pasteboard> pasteboard;
    std::unique_ptr<KeySynth> keySynth;
    std::unique_ptr<Accessibility> accessibility;

    // Why the program cannot work in this desktop session (a Wayland session without X11), for the user;
    // none when it can.
    std::optional<QString> unsupportedSession;

    // The real desktop's ports. `clock` and `scheduler` must outlive the platform (the clock dates files
    // moved aside, the scheduler times the clipboard and the synthetic keys); `supportDirectory` is the
    // program's own folder, where the Linux side keeps its secrets.
    static Platform create(const Clock& clock, Scheduler& scheduler, const QString& supportDirectory);
};

} // namespace lumeno
