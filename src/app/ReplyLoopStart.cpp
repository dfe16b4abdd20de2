// Starting a dictation: the checks, the listening overlay, speech capture and the read of the focused field.
#include "app/ReplyLoop.h"

#include "account/AccountStore.h"
#include "drafting/SentWatcher.h"
#include "drafting/StyleStore.h"
#include "foundation/ReplyLanguage.h"
#include "foundation/SettingsStore.h"
#include "memory/MemoryStore.h"
#include "overlay/CaptureOverlay.h"
#include "screen/FocusInspector.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "voice/SpeechCapture.h"


namespace lumeno {

using Phase = TriggerLogic::Phase;

void ReplyLoop::begin(ListenMode mode, quint64 press, bool edit) {
    s_.sentWatcher.conclude();
    cancelWork();
    cancelCapture();
    cancelPendingTimeout();

    OverlayModel& model = s_.overlay.model();
    model.reset();
    model.setHotkeyName(hotkeyName());
    model.setShowsDetailsButton(s_.settings.showsDraftDetails());

    context_.reset();
    savedPersonID_.reset();
    lastDraft_.reset();
    recorder_.discard();
    editing_ = edit;
    diagnostics_.hide();

    if (!s_.account.isSignedIn()) {
        phase_ = Phase::idle();
        emit firstRunRequested();
        return;
    }
    if (const std::optional<OverlayMessage> message = blocker()) {
        end(*message);
        return;
    }
    recorder_.open(edit ? DraftDetails::Kind::edit : DraftDetails::Kind::reply);
    phase_ = Phase::listening(mode, press);
    model.setHandsFree(mode == ListenMode::handsFree);
    model.setIsEditing(edit);
    s_.speech.setHints(nameHints());
    s_.overlay.show(OverlayPhase::listening);
    refreshListeningDebug();
    Log::app.info(QStringLiteral("Listening (%{public}s, %{public}s)"),
                  {mode == ListenMode::hold ? QStringLiteral("hold") : QStringLiteral("hands-free"),
                   edit ? QStringLiteral("edit") : QStringLiteral("reply")});
    CancelToken token;
    startWork(startTask(token), token);
}

std::optional<OverlayMessage> ReplyLoop::blocker() {
    using Status = PermissionsGate::Status;
    if (s_.settings.isPaused())
        return OverlayMessage{OverlayMessage::Kind::notice, QStringLiteral("Lumeno is paused"), std::nullopt,
                              OverlayAction::resume()};
    s_.permissions.refresh();
    if (s_.permissions.accessibility() != Status::granted)
        return OverlayMessage{
            OverlayMessage::Kind::error, QStringLiteral("Accessibility is off"),
            QStringLiteral("Lumeno reads the field and pastes the draft through your desktop's accessibility "
                           "setting. Turn it on to reply."),
            OverlayAction::fixPermission(PermissionsGate::Permission::accessibility,
                                         s_.permissions.switchesAccessibilityOn())};
    if (s_.permissions.microphone() == Status::denied) {
        const QString why = s_.permissions.whyMicrophoneDenied();
        // Without a sound server no settings page can help: nothing to offer but the wait.
        std::optional<OverlayAction> fix;
        if (s_.permissions.hasSoundServer())
            fix = OverlayAction::fixPermission(PermissionsGate::Permission::microphone);
        return OverlayMessage{
            OverlayMessage::Kind::error, QStringLiteral("Lumeno can't hear you"),
            !why.isEmpty() ? why
                           : QStringLiteral("Connect a microphone, or pick it as the input in your desktop's sound settings."),
            fix};
    }
    if (s_.permissions.microphone() == Status::notDetermined) {
        s_.permissions.request(PermissionsGate::Permission::microphone);
        return OverlayMessage{OverlayMessage::Kind::notice,
                              QStringLiteral("Allow the microphone, then press ") + hotkeyName() +
                                  QStringLiteral(" again"),
                              QStringLiteral("Your desktop is asking whether Lumeno may use the microphone."),
                              std::nullopt};
    }
    return std::nullopt;
}

QStringList ReplyLoop::nameHints() const {
    QStringList names{s_.style.resolvedName(), s_.style.resolvedSignName()};
    for (const Person& person : s_.memory.people())
        names.append(person.name);
    QStringList hints;
    for (const QString& name : std::as_const(names)) {
        if (name.isEmpty() || hints.contains(name))
            continue;
        hints.append(name);
        if (hints.size() == maxNameHints)
            break;
    }
    return hints;
}

void ReplyLoop::armSpeechCap() {
    cancelSpeechCap();
    // A timer, not a sleeping coroutine: cancelled, it is gone at once instead of lingering for the rest
    // of its time (and for good when the scheduler goes first).
    speechCap_ = s_.scheduler.after(speechCapSeconds, [this] {
        speechCap_.reset();
        if (!phase_.isListening())
            return;
        Log::speech.info(QStringLiteral("Speech cap reached (%{public}lds)"), {qint64(speechCapSeconds)});
        finishListening();
    });
}

void ReplyLoop::cancelSpeechCap() {
    if (speechCap_)
        s_.scheduler.cancel(*speechCap_);
    speechCap_.reset();
}

namespace {

struct TimedSnapshot {
    std::optional<FocusSnapshot> snapshot;
    int milliseconds = 0;
};

QCoro::Task<TimedSnapshot> timedSnapshot(const FocusInspector& focus, const Clock& clock) {
    const QDateTime started = clock.now();
    std::optional<FocusSnapshot> snapshot = co_await focus.snapshot();
    const int milliseconds = int(started.msecsTo(clock.now()));
    Log::insert.info(QStringLiteral("Focus read in %{public}ld ms"), {qint64(milliseconds)});
    co_return TimedSnapshot{std::move(snapshot), milliseconds};
}

} // namespace

QCoro::Task<> ReplyLoop::startTask(CancelToken token) {
    QCoro::Task<TimedSnapshot> focusRead = timedSnapshot(s_.focus, s_.clock); // runs while speech starts

    std::optional<CaptureError> failure;
    try {
        const QString code = ReplyLanguage::codeMatching(s_.settings.speechLocaleID()).value_or(QStringLiteral("en"));
        const std::vector<SpeechLocale> locales = co_await s_.speech.supportedLocales();
        if (token.isCancelled())
            co_return;
        const std::optional<SpeechLocale> locale = SpeechCapture::locale(code, locales);
        if (!locale)
            throw CaptureError::languageUnsupported(code);
        Log::speech.info(QStringLiteral("On-device recognizer %{public}s"), {locale->identifier});
        co_await s_.speech.start(*locale, SpeechCapture::Engine::onDevice);
    } catch (const CaptureError& error) {
        failure = error;
    }
    if (token.isCancelled())
        co_return;
    if (failure) {
        const QString description = failure->localizedDescription();
        Log::speech.error(QStringLiteral("Listening failed: %{public}s"), {description});
        cancelCapture();
        end({OverlayMessage::Kind::error, QStringLiteral("Couldn't start listening"), description,
             OverlayAction::openSettings(SettingsTab::general)});
        co_return;
    }
    armSpeechCap();

    const TimedSnapshot read = co_await std::move(focusRead);
    if (token.isCancelled())
        co_return;
    context_.setTarget(read.snapshot);
    if (const std::optional<FocusSnapshot>& target = context_.target()) {
        recorder_.readField(*target, read.milliseconds);
        Log::insert.info(QStringLiteral("Target %{public}s role %{public}s %{public}s, surface %{public}s"),
                         {target->bundleID.value_or(QStringLiteral("?")), target->role.value_or(QStringLiteral("none")),
                          FocusSnapshot::caseName(target->editability), rawValue(context_.surface())});
        if (const std::optional<OverlayMessage> message = refusal(*target)) {
            refuse(*message);
            co_return;
        }
    }
    if (editing_) {
        const std::optional<OverlayMessage> message = co_await readEditTarget(token);
        if (token.isCancelled())
            co_return;
        if (message) {
            refuse(*message);
            co_return;
        }
    }
    co_await gatherContext(token);
}

void ReplyLoop::refuse(const OverlayMessage& message) {
    cancelCapture();
    end(message);
}

std::optional<OverlayMessage> ReplyLoop::refusal(const FocusSnapshot& snapshot) {
    if (FocusInspector::isTerminal(snapshot))
        return OverlayMessage{OverlayMessage::Kind::notice, QStringLiteral("Lumeno doesn't type into terminals"),
                              QStringLiteral("Click into a message field in another app."), std::nullopt};
    if (FocusInspector::isPasswordField(snapshot))
        return OverlayMessage{OverlayMessage::Kind::notice, QStringLiteral("That's a password field"),
                              QStringLiteral("Click into the message you're replying to."), std::nullopt};
    return std::nullopt;
}

} // namespace lumeno
