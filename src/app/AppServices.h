#pragma once

#include "account/AccountStore.h"
#include "app/ReplyLoop.h"
#include "details/DraftDetailsStore.h"
#include "drafting/DraftGenerator.h"
#include "drafting/SentWatcher.h"
#include "drafting/StyleStore.h"
#include "foundation/KeyboardLayout.h"
#include "foundation/PermissionsGate.h"
#include "foundation/SettingsStore.h"
#include "memory/ConfirmSaveFlow.h"
#include "memory/DateDetector.h"
#include "memory/MemoryStore.h"
#include "overlay/CaptureOverlay.h"
#include "overlay/ListeningDebug.h"
#include "platform/Platform.h"
#include "screen/ContextPacker.h"
#include "screen/FieldInserter.h"
#include "screen/FocusInspector.h"
#include "screen/ScreenReader.h"
#include "voice/HotkeyService.h"
#include "voice/SpeechCapture.h"

#include <memory>

namespace lumeno {

class ServerAPI;

// Every service and store of one run, built once over the platform's ports in the order the reply loop
// needs them, with the reply loop wired last. The application model adds the windows and the lifecycle;
// tests build this alone over the fake platform to run whole dictations.
class AppServices {
public:
    struct Environment {
        Platform& platform;
        const Clock& clock;
        Scheduler& scheduler;
        QString supportDirectory;
        std::shared_ptr<ServerAPI> server; // none when this build has no server
        QString deviceName;                // the computer's name, given to the server at sign-in
    };

    explicit AppServices(const Environment& environment);
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    // Drafts from now on go through the signed-in account's server.
    void connectDrafting();

    const Clock& clock;
    Scheduler& scheduler;
    Platform& platform;
    KeyboardLayout keyboardLayout;
    HotkeyService hotkeys;
    CaptureOverlay overlay;
    SpeechCapture speech;
    FocusInspector focus;
    ScreenReader screenReader;
    FieldInserter inserter;
    ContextPacker contextPacker;
    SettingsStore settings;
    AccountStore account;
    PermissionsGate permissions;
    StyleStore style;
    MemoryStore memory;
    DraftDetailsStore draftDetails;
    DraftGenerator generator;
    SentWatcher sentWatcher;
    ListeningDebug listeningDebug;
    DateDetector dates; // on the run's clock, so promised due dates follow the same time as everything else
    ConfirmSaveFlow confirmFlow;
    ReplyLoop loop;
};

} // namespace lumeno
