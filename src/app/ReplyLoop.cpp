#include "app/ReplyLoop.h"

#include "foundation/Hotkey.h"
#include "foundation/KeyboardLayout.h"
#include "foundation/SettingsStore.h"
#include "overlay/CaptureOverlay.h"
#include "screen/ContextPacker.h"
#include "drafting/SentWatcher.h"
#include "drafting/StyleStore.h"
#include "support/Log.h"
#include "voice/SpeechCapture.h"

#include <QPointer>

namespace lumeno {

using Command = TriggerLogic::Command;
using Phase = TriggerLogic::Phase;

ReplyLoop::ReplyLoop(Services services, QObject* parent)
    : QObject(parent),
      s_(services),
      recorder_(s_.details, s_.settings, s_.clock),
      context_({s_.settings, s_.focus, s_.screenReader, s_.contextPacker, s_.memory, s_.style, s_.workspace, s_.clock}),
      delivery_(s_.inserter, s_.contextPacker, s_.pasteboard),
      diagnostics_(s_.listeningDebug, s_.memory, s_.style) {}

ReplyLoop::~ReplyLoop() {
    cancelWork();
    cancelPendingTimeout();
}

void ReplyLoop::wire() {
    const QPointer<ReplyLoop> self(this);
    restoreSpeechHandlers();
    s_.inserter.onPasteboardWrite = [self](qint64 changeCount, bool restoresUserCopy) {
        if (self)
            self->s_.contextPacker.noteOwnChange(changeCount, restoresUserCopy);
    };
    OverlayModel& model = s_.overlay.model();
    connect(&model, &OverlayModel::contextToggleRequested, this, [this] {
        OverlayModel& model = s_.overlay.model();
        model.setContextEnabled(!model.contextEnabled());
        relayoutIfVisible();
        refreshListeningDebug();
    });
    s_.sentWatcher.onLearn = [self](const QString& text) {
        if (self)
            self->s_.style.addLearnedExample(text);
    };
    connect(&model, &OverlayModel::personPicked, this, &ReplyLoop::pickPerson);
    connect(&model, &OverlayModel::offerAccepted, this, &ReplyLoop::acceptOffer);
    connect(&model, &OverlayModel::cancelRequested, this, &ReplyLoop::cancel);
    connect(&model, &OverlayModel::insertPendingRequested, this, &ReplyLoop::insertPending);
    connect(&model, &OverlayModel::copyPendingRequested, this, &ReplyLoop::copyPending);
    connect(&model, &OverlayModel::undoEditRequested, this, &ReplyLoop::undoEdit);
    connect(&model, &OverlayModel::copyOriginalRequested, this, &ReplyLoop::copyOriginal);
    connect(&model, &OverlayModel::detailsRequested, this, [this] {
        if (phase_.kind != Phase::Kind::pending)
            s_.overlay.hide(0);
        emit draftDetailsRequested();
    });
    connect(&model, &OverlayModel::actionRequested, this, &ReplyLoop::act);
}

void ReplyLoop::restoreSpeechHandlers() {
    const QPointer<ReplyLoop> self(this);
    s_.speech.onTranscript = [self](const QString& text) {
        if (!self || !self->phase_.isListening())
            return;
        self->s_.overlay.model().setTranscript(text);
        self->relayoutIfVisible();
    };
    s_.speech.onLevel = [self](float level) {
        if (self && self->phase_.isListening())
            self->s_.overlay.model().setLevel(level); // the model tells observers only of a real change
    };
    s_.speech.onInterruption = [self] {
        if (self)
            self->finishListening();
    };
}

void ReplyLoop::act(const OverlayAction& action) {
    if (std::holds_alternative<OverlayAction::OpenSettings>(action.value)) {
        cancel();
        emit settingsRequested(std::get<OverlayAction::OpenSettings>(action.value).tab);
    } else if (const auto* fix = std::get_if<OverlayAction::FixPermission>(&action.value)) {
        cancel();
        // No settings app to send the user to: the overlay says what to do instead.
        if (const std::optional<QString> instead = s_.permissions.request(fix->permission))
            present({OverlayMessage::Kind::error,
                     fix->permission == PermissionsGate::Permission::microphone
                         ? QStringLiteral("Couldn't open the sound settings")
                         : QStringLiteral("Couldn't open the accessibility settings"),
                     instead, std::nullopt});
    } else if (std::holds_alternative<OverlayAction::Retry>(action.value)) {
        retry();
    } else if (std::holds_alternative<OverlayAction::Resume>(action.value)) {
        s_.settings.setPaused(false);
        present({OverlayMessage::Kind::notice, QStringLiteral("Lumeno is back on"),
                 QStringLiteral("Hold ") + hotkeyName() + QStringLiteral(" to reply."), std::nullopt});
    } else if (std::holds_alternative<OverlayAction::SignIn>(action.value)) {
        cancel();
        emit firstRunRequested();
    }
}

void ReplyLoop::handle(const HotkeyEvent& event) {
    if (event.kind == HotkeyEvent::Kind::escape && phase_.kind == Phase::Kind::idle && !s_.overlay.isVisible())
        return;
    carryOut(TriggerLogic::command(event, phase_, consumedPress_));
}

void ReplyLoop::carryOut(const Command& command) {
    switch (command.kind) {
    case Command::Kind::beginHold:
        begin(ListenMode::hold, *command.press, command.edit);
        break;
    case Command::Kind::beginHandsFree:
        begin(ListenMode::handsFree, *command.press, command.edit);
        break;
    case Command::Kind::finish:
        if (command.press)
            consumedPress_ = command.press;
        finishListening();
        break;
    case Command::Kind::insertPending:
        consumedPress_ = command.press;
        insertPending();
        break;
    case Command::Kind::ignore:
        break;
    case Command::Kind::continueHandsFree:
        phase_ = Phase::listening(ListenMode::handsFree, std::nullopt);
        s_.overlay.model().setHandsFree(true);
        relayoutIfVisible();
        break;
    case Command::Kind::switchToEdit:
        switchToEdit();
        break;
    case Command::Kind::cancel:
        cancel();
        break;
    }
}

void ReplyLoop::switchToEdit() {
    if (!phase_.isListening() || editing_)
        return;
    editing_ = true;
    s_.overlay.model().setIsEditing(true);
    recorder_.switchedToEdit();
    Log::app.info(QStringLiteral("Switched to edit mode"));
    relayoutIfVisible();
}

void ReplyLoop::cancel() {
    if (phase_.kind != Phase::Kind::idle)
        Log::app.info(QStringLiteral("Cancelled (%{public}s)"), {phase_.description()});
    if (recorder_.isOpen())
        recorder_.commit(QStringLiteral("Cancelled"));
    else if (phase_.kind == Phase::Kind::pending)
        recorder_.amendLastOutcome(QStringLiteral("Dismissed without inserting"));
    cancelWork();
    cancelCapture();
    cancelPendingTimeout();
    phase_ = Phase::idle();
    s_.overlay.hide(0);
    diagnostics_.hide();
}

bool ReplyLoop::tell(const OverlayMessage& message) {
    if (phase_.kind != Phase::Kind::idle)
        return false;
    present(message);
    return true;
}

void ReplyLoop::present(const OverlayMessage& message) {
    diagnostics_.hide();
    Log::app.info(QStringLiteral("Overlay message: %{public}s"), {message.title});
    recorder_.commit(message.title);
    s_.overlay.model().setMessage(message);
    s_.overlay.show(OverlayPhase::message);
    const bool isError = message.kind == OverlayMessage::Kind::error;
    s_.overlay.hide(isError ? 12.0 : message.action ? 4.0 : 2.4);
}

void ReplyLoop::end(const OverlayMessage& message) {
    phase_ = Phase::idle();
    present(message);
}

void ReplyLoop::refreshListeningDebug() {
    if (s_.settings.showsDraftDetails() && phase_.isListening())
        diagnostics_.show(context_, s_.overlay.model().contextEnabled(), recorder_.conversationNote(), editing_);
    else
        diagnostics_.hide();
}

void ReplyLoop::relayoutIfVisible() {
    if (s_.overlay.isVisible())
        s_.overlay.relayout();
}

void ReplyLoop::cancelCapture() {
    s_.speech.cancel(); // a new generation, the recognizer torn down, both transcripts cleared
}

void ReplyLoop::cancelPendingTimeout() {
    if (pendingTimeout_)
        s_.scheduler.cancel(*pendingTimeout_);
    pendingTimeout_.reset();
}

QString ReplyLoop::hotkeyName() const {
    return s_.settings.hotkey().displayName(s_.keyboardLayout);
}

QString ReplyLoop::editHotkeyName() const {
    const std::optional<QString> edit = s_.settings.hotkey().editDisplayName(s_.keyboardLayout);
    return edit && !edit->isEmpty() ? *edit : hotkeyName();
}

QString ReplyLoop::keyNameForMode() const {
    return editing_ ? editHotkeyName() : hotkeyName();
}

void ReplyLoop::startWork(QCoro::Task<> body, CancelToken token) {
    work_ = LoopWork::run(std::move(token), std::move(body));
}

void ReplyLoop::cancelWork() {
    if (work_)
        work_->cancel();
    work_.reset();
    cancelSpeechCap();
}

} // namespace lumeno
