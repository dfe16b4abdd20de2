#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeBuildIdentity.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeGlobalHotkeys.h"
#include "platform/fake/FakeKeySynth.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "platform/fake/FakeMicrophoneAuthorizer.h"
#include "platform/fake/FakePanelWindowHints.h"
#include "platform/fake/FakeTrayWatch.h"
#include "platform/fake/FakeModifierState.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakeScreenInfo.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/fake/FakeSpeechEngine.h"
#include "platform/fake/FakeWorkspace.h"

namespace lumeno {

Platform makeFakePlatform() {
    Platform platform;
    platform.defaults = std::make_unique<FakeDefaultsStore>();
    platform.secrets = std::make_unique<FakeSecretStore>();
    platform.microphone = std::make_unique<FakeMicrophoneAuthorizer>();
    platform.accessibilityTrust = std::make_unique<FakeAccessibilityTrust>();
    platform.keyboardLayout = std::make_unique<FakeKeyboardLayoutSource>();
    platform.build = std::make_unique<FakeBuildIdentity>();
    auto workspace = std::make_unique<FakeWorkspace>();
    auto desktop = std::make_shared<FakeDesktop>(*workspace);
    platform.pasteboard = std::make_unique<FakePasteboard>(*desktop);
    platform.keySynth = std::make_unique<FakeKeySynth>(*desktop);
    platform.accessibility = std::make_unique<FakeAccessibility>(*desktop, nullptr);
    platform.sharedDesktop = std::move(desktop);
    platform.workspace = std::move(workspace);
    platform.screens = std::make_unique<FakeScreenInfo>();
    platform.panelHints = std::make_unique<FakePanelWindowHints>();
    platform.trayWatch = std::make_unique<FakeTrayWatch>();
    auto keyboard = std::make_unique<FakeGlobalHotkeys>();
    platform.modifierState = std::make_unique<FakeModifierState>(*keyboard);
    platform.globalHotkeys = std::move(keyboard);
    platform.audioInput = std::make_unique<FakeAudioInput>();
    platform.speechEngine = std::make_unique<FakeSpeechEngine>();
    return platform;
}

} // namespace lumeno
