// Finishing a dictation: stopping the capture, checking what was heard, building the draft input and
// drafting it through the server.
#include "app/ReplyLoop.h"

#include "account/AccountStore.h"
#include "drafting/DraftError.h"
#include "drafting/DraftGenerator.h"
#include "drafting/ReplyGuard.h"
#include "drafting/StyleStore.h"
#include "memory/MemoryDetector.h"
#include "foundation/SettingsStore.h"
#include "overlay/CaptureOverlay.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Text.h"
#include "voice/SpeechCapture.h"

namespace lumeno {

using Phase = TriggerLogic::Phase;

namespace {

// Time the recognizer gets to settle the last words before the capture stops.
constexpr double settleAfterHold = 0.5;
constexpr double settleAfterHandsFree = 0.25;
constexpr float quietPeak = 0.25f;

OverlayAction actionFor(const DraftError& error) {
    switch (error.kind) {
    case DraftError::Kind::invalidKey:
    case DraftError::Kind::modelUnavailable:
    case DraftError::Kind::billing:
        return OverlayAction::openSettings(SettingsTab::general);
    case DraftError::Kind::signedOut:
        return OverlayAction::signIn();
    default:
        return OverlayAction::retry();
    }
}

} // namespace

void ReplyLoop::finishListening() {
    if (!phase_.isListening())
        return;
    diagnostics_.hide();
    const ListenMode mode = phase_.mode;
    phase_ = Phase::busy();
    s_.overlay.show(OverlayPhase::transcribing);
    const std::shared_ptr<LoopWork> previous = work_;
    // The finish carries on the dictation the start began, so one token calls both off: a cancel or a new
    // press must also silence a start still reading the field.
    const CancelToken token = previous ? previous->token() : CancelToken();
    startWork(finishTask(token, previous, mode), token);
}

QCoro::Task<> ReplyLoop::finishTask(CancelToken token, std::shared_ptr<LoopWork> previous, ListenMode mode) {
    if (previous)
        co_await previous->finished();
    if (token.isCancelled() || phase_.kind != Phase::Kind::busy)
        co_return;
    co_await s_.scheduler.sleep(mode == ListenMode::handsFree ? settleAfterHandsFree : settleAfterHold, token);
    if (token.isCancelled())
        co_return;
    const QString transcript = co_await s_.speech.stop();
    if (token.isCancelled())
        co_return;

    const QString intent = transcript.trimmed();
    const double duration = s_.speech.duration();
    const float peak = s_.speech.peakLevel();
    Log::speech.info(QStringLiteral("Heard %{public}ld chars from %{public}ss of audio, peak level %{public}s"),
                     {qint64(intent.size()), QString::number(duration, 'f', 1), QString::number(peak, 'f', 2)});
    recorder_.heard(intent, duration);
    if (!Text::hasAtLeastCharacters(intent, 2)) {
        end(nothingHeard(peak));
        co_return;
    }

    const QString detected = ReplyGuard::languageCode(intent);
    const std::vector<SpeechLocale> locales = co_await s_.speech.supportedLocales();
    if (token.isCancelled())
        co_return;
    if (const std::optional<QString> notice =
            SpeechCapture::unavailableNotice(detected, SpeechCapture::languageCodes(locales))) {
        end({OverlayMessage::Kind::notice, *notice, std::nullopt, std::nullopt});
        co_return;
    }

    // A note to self is the user's own: it is offered for Memory once the dictation is done, and the
    // reply is drafted from the rest. An edit instruction is taken whole.
    const QString message = editing_ ? intent : MemoryDetector::withoutPin(intent);
    if (message != intent && !Text::hasAtLeastCharacters(Text::trimmedWithPunctuation(message), 2)) {
        showNoteOnly(intent);
        co_return;
    }
    s_.overlay.model().setTranscript(message);
    s_.overlay.show(OverlayPhase::drafting);
    if (editing_) {
        if (!context_.editRequest()) {
            const std::optional<OverlayMessage> message = co_await readEditTarget(token);
            if (token.isCancelled())
                co_return;
            if (message) {
                end(*message);
                co_return;
            }
        }
        const std::optional<PackedContext>& packed = context_.packedContext();
        if (packed && packed->source == PackedContext::Source::selection)
            co_await gatherContext(token);
        if (token.isCancelled())
            co_return;
    }

    const DraftInput input = context_.input(message, detected, s_.overlay.model().contextEnabled(), editing_);
    lastInput_ = input;
    lastDictation_ = intent;
    recorder_.builtInput(input, context_.personPicked(), s_.style.resolvedSignName());
    co_await draftAndInsert(input, token);
}

OverlayMessage ReplyLoop::nothingHeard(float peak) const {
    const QString key = keyNameForMode();
    if (peak < quietPeak)
        return {OverlayMessage::Kind::notice, QStringLiteral("Didn't hear anything"),
                QStringLiteral("Hold ") + key +
                    QStringLiteral(" while you speak. If you did, check the input in your desktop's sound settings."),
                std::nullopt};
    return {OverlayMessage::Kind::notice, QStringLiteral("Didn't catch that"),
            QStringLiteral("Hold ") + key + QStringLiteral(" and speak again. Lumeno listens in the language you picked."),
            std::nullopt};
}

QCoro::Task<> ReplyLoop::draftAndInsert(DraftInput input, CancelToken token) {
    if (!s_.account.isSignedIn()) {
        if (token.isCancelled())
            co_return;
        const DraftError error = DraftError::signedOut();
        end({OverlayMessage::Kind::error, error.title(), error.detail(), OverlayAction::signIn()});
        co_return;
    }
    std::optional<DraftResult> result;
    std::optional<DraftError> draftError;
    std::optional<QString> otherError;
    try {
        DraftResult composed = co_await s_.generator.compose(input, token);
        result = std::move(composed);
    } catch (const Cancelled&) {
        co_return;
    } catch (const DraftError& error) {
        draftError = error;
    } catch (const std::exception& error) {
        otherError = QString::fromUtf8(error.what());
    } catch (...) {
        otherError = QStringLiteral("Something went wrong while drafting.");
    }
    if (token.isCancelled())
        co_return;
    if (draftError) {
        Log::draft.error(QStringLiteral("Draft failed: %{public}s"), {draftError->title()});
        end({OverlayMessage::Kind::error, draftError->title(), draftError->detail(), actionFor(*draftError)});
        co_return;
    }
    if (otherError) {
        end({OverlayMessage::Kind::error,
             input.edit ? QStringLiteral("Couldn't edit the text") : QStringLiteral("Couldn't draft a reply"), otherError,
             OverlayAction::retry()});
        co_return;
    }
    recorder_.drafted(*result);
    emit drafted(result->text);
    lastDraft_ = result->text;
    if (!input.edit) {
        const std::optional<FocusSnapshot>& target = context_.target();
        const bool protectSelection = input.context && input.context->source == PackedContext::Source::selection &&
                                      target && target->editability == FocusSnapshot::Editability::editable;
        co_await insert(result->text, protectSelection, token);
    } else {
        co_await replace(*input.edit, result->text, token);
    }
}

void ReplyLoop::retry() {
    if (!lastInput_) {
        cancel();
        return;
    }
    cancelWork();
    phase_ = Phase::busy();
    s_.overlay.model().setMessage(std::nullopt);
    s_.overlay.model().setTranscript(lastInput_->intent);
    recorder_.reopenLast();
    s_.overlay.show(OverlayPhase::drafting);
    CancelToken token;
    startWork(draftAndInsert(*lastInput_, token), token);
}

} // namespace lumeno
