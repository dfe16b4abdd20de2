#include "app/AppServices.h"

#include <QDir>

namespace lumeno {

namespace {

HotkeyService::Ports hotkeyPorts(Platform& platform, Scheduler& scheduler, const Clock& clock) {
    return {*platform.globalHotkeys, *platform.modifierState, *platform.accessibilityTrust, *platform.keyboardLayout,
            scheduler, clock};
}

QString fileIn(const QString& directory, const QString& name) {
    return QDir(directory).filePath(name);
}

} // namespace

AppServices::AppServices(const Environment& environment)
    : clock(environment.clock),
      scheduler(environment.scheduler),
      platform(environment.platform),
      keyboardLayout(*platform.keyboardLayout),
      hotkeys(hotkeyPorts(platform, scheduler, clock)),
      overlay(scheduler, clock, *platform.screens, *platform.panelHints),
      speech(*platform.audioInput, *platform.speechEngine),
      focus(*platform.workspace, *platform.accessibility),
      screenReader(*platform.accessibility, clock),
      inserter(focus, *platform.accessibility, *platform.pasteboard, *platform.keySynth, scheduler),
      contextPacker(*platform.pasteboard, clock, scheduler),
      settings(*platform.defaults, *platform.secrets),
      account(environment.supportDirectory, environment.server, clock, environment.deviceName),
      permissions(*platform.defaults, *platform.microphone, *platform.accessibilityTrust, *platform.workspace, scheduler),
      style(fileIn(environment.supportDirectory, QStringLiteral("style.json")), settings, clock),
      memory(fileIn(environment.supportDirectory, QStringLiteral("memory.json")), clock),
      draftDetails(fileIn(environment.supportDirectory, QStringLiteral("draft-details.jsonl")), clock),
      generator(settings, clock),
      sentWatcher(*platform.accessibility, scheduler, clock),
      listeningDebug(*platform.screens, *platform.panelHints),
      dates(clock),
      confirmFlow(memory, dates),
      loop(ReplyLoop::Services{settings, account, permissions, overlay, speech, generator, inserter, contextPacker,
                               style, memory, draftDetails, confirmFlow, sentWatcher, listeningDebug, focus,
                               screenReader, *platform.pasteboard, *platform.keySynth, *platform.workspace,
                               keyboardLayout, scheduler, clock}) {
    permissions.refresh();
    // What the lower areas leave to the application: the names a draft signs with, and whether learning
    // from sent text is still wanted when a message goes out.
    style.accountName = [this] { return account.session() ? account.session()->user.name : QString(); };
    sentWatcher.isLearning = [this] { return style.profile().learnFromEdits; };
    loop.wire();
}

void AppServices::connectDrafting() {
    AccountStore* store = &account; // the account store lives as long as the generator
    generator.send = [store](DraftPrompt prompt, CancelToken cancel) {
        return store->draft(std::move(prompt), std::move(cancel));
    };
}

} // namespace lumeno
