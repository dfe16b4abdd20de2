// Putting the draft into the field and showing what happened: inserted with save offers, edited with an
// undo, or pending for the user to insert or copy.
#include "app/ReplyLoop.h"

#include "drafting/PromptBuilder.h"
#include "drafting/SentWatcher.h"
#include "drafting/StyleStore.h"
#include "foundation/SettingsStore.h"
#include "memory/ConfirmSaveFlow.h"
#include "memory/MemoryStore.h"
#include "overlay/CaptureOverlay.h"
#include "platform/KeySynth.h"
#include "platform/Workspace.h"
#include "support/Log.h"

namespace lumeno {

using Phase = TriggerLogic::Phase;

namespace {

constexpr double insertedHide = 1.8;
constexpr double insertedWithOffersHide = 9.0;
constexpr double editedHide = 8.0;
constexpr double allOffersSavedHide = 1.4;
constexpr double someOffersSavedHide = 6.0;

} // namespace

QCoro::Task<> ReplyLoop::insert(QString text, bool protectSelection, CancelToken token) {
    const DraftDelivery::Result result =
        co_await delivery_.insert(text, targetPID(), protectSelection, hotkeyName(), token);
    if (token.isCancelled())
        co_return;
    recorder_.pasted(result.lineBreaks);
    if (!result.placed) {
        showPending(text, result.note);
        co_return;
    }
    showInserted();
    const std::optional<FocusSnapshot>& target = context_.target();
    if (s_.style.profile().learnFromEdits && target && target->element &&
        target->editability == FocusSnapshot::Editability::editable)
        s_.sentWatcher.watch(*target->element, text);
}

QCoro::Task<> ReplyLoop::replace(EditRequest request, QString text, CancelToken token) {
    const DraftDelivery::Result result = co_await delivery_.replace(request, text, targetPID(), hotkeyName(), token);
    if (token.isCancelled())
        co_return;
    recorder_.pasted(result.lineBreaks);
    if (result.placed)
        showEdited(request);
    else
        showPending(text, result.note);
}

std::optional<qint64> ReplyLoop::targetPID() const {
    const std::optional<FocusSnapshot>& target = context_.target();
    return target ? std::optional<qint64>(target->pid) : std::nullopt;
}

void ReplyLoop::showPending(const QString& text, const std::optional<QString>& note) {
    phase_ = Phase::pending();
    OverlayModel& model = s_.overlay.model();
    model.setPendingDraft(text);
    model.setPendingNote(note);
    s_.overlay.show(OverlayPhase::pending);
    cancelPendingTimeout();
    // The loop cancels this timer when it ends, so it never fires on a loop that is gone.
    pendingTimeout_ = s_.scheduler.after(pendingTimeoutSeconds, [this] {
        pendingTimeout_.reset();
        // While an Insert of the draft is trying, its end decides: a draft still not in a field goes then.
        if (phase_.kind == Phase::Kind::pending)
            cancel();
    });
    recorder_.commit(QStringLiteral("Waiting: ") + note.value_or(QStringLiteral("no text field had focus")));
}

void ReplyLoop::showInserted() {
    phase_ = Phase::idle();
    cancelPendingTimeout();
    // Only a message has a Send button to press: a reply placed in a document or a form is just looked over.
    if (context_.target() && context_.surface() == Surface::other)
        s_.overlay.model().setInsertedNote(QStringLiteral("Inserted. Review it."));
    showOffers(saveOffers());
    if (recorder_.isOpen())
        recorder_.commit(QStringLiteral("Inserted"));
    else
        recorder_.amendLastOutcome(QStringLiteral("Inserted after you picked the field"));
}

void ReplyLoop::showNoteOnly(const QString& dictation) {
    phase_ = Phase::idle();
    s_.overlay.model().setInsertedNote(QStringLiteral("Only a note to self, so nothing was drafted."));
    // Nothing was written to anyone: only what the note itself says is offered.
    const QList<SaveOffer> offers = s_.confirmFlow.offers(dictation, QString(), std::nullopt, context_.person(),
                                                          thread(), s_.style.resolvedName(), std::nullopt);
    showOffers({offers.begin(), offers.end()});
    recorder_.commit(QStringLiteral("Only a note to self"));
}

void ReplyLoop::showOffers(const std::vector<SaveOffer>& offers) {
    OverlayModel& model = s_.overlay.model();
    model.setPendingDraft(std::nullopt);
    model.setPendingNote(std::nullopt);
    model.setOffers(offers);
    s_.overlay.show(OverlayPhase::inserted);
    s_.overlay.hide(offers.empty() ? insertedHide : insertedWithOffersHide);
    if (!offers.empty())
        Log::memory.info(QStringLiteral("Offered %{public}ld memory saves"), {qint64(offers.size())});
}

std::optional<QString> ReplyLoop::thread() const {
    const std::optional<FocusSnapshot>& target = context_.target();
    if (target && context_.surface() != Surface::other && target->windowTitle)
        return PromptBuilder::windowTitle(*target->windowTitle);
    return std::nullopt;
}

std::vector<SaveOffer> ReplyLoop::saveOffers() const {
    if (!lastInput_ || lastInput_->edit || !lastDraft_)
        return {};
    const QList<SaveOffer> offers = s_.confirmFlow.offers(lastDictation_, *lastDraft_, lastInput_->context,
                                                          context_.person(), thread(), s_.style.resolvedName(),
                                                          context_.partner());
    return {offers.begin(), offers.end()};
}

void ReplyLoop::acceptOffer(const SaveOffer& offer) {
    OverlayModel& model = s_.overlay.model();
    const auto& offers = model.offers();
    const bool offered = std::any_of(offers.begin(), offers.end(), [&](const SaveOffer& each) { return each.id == offer.id; });
    if (!offered || model.savedOffers().contains(offer.id))
        return;
    if (const std::optional<QUuid> id = s_.confirmFlow.accept(offer, savedPersonID_))
        savedPersonID_ = id;
    QSet<QUuid> saved = model.savedOffers();
    saved.insert(offer.id);
    model.setSavedOffers(saved);
    relayoutIfVisible();
    s_.overlay.hide(saved.size() == qsizetype(offers.size()) ? allOffersSavedHide : someOffersSavedHide);
}

void ReplyLoop::showEdited(const EditRequest& request) {
    phase_ = Phase::idle();
    cancelPendingTimeout();
    OverlayModel& model = s_.overlay.model();
    model.setPendingDraft(std::nullopt);
    model.setPendingNote(std::nullopt);
    model.setOffers({});
    model.setEditedOriginal(request.original);
    model.setInsertedNote(QStringLiteral("Edited. Ctrl+Z undoes it."));
    s_.overlay.show(OverlayPhase::inserted);
    s_.overlay.hide(editedHide);
    recorder_.commit(request.scope == EditRequest::Scope::selection ? QStringLiteral("Replaced the selection")
                                                                : QStringLiteral("Replaced the message"));
}

void ReplyLoop::insertPending() {
    const std::optional<QString> text = s_.overlay.model().pendingDraft();
    if (phase_.kind != Phase::Kind::pending || !text)
        return;
    phase_ = Phase::busy();
    CancelToken token;
    startWork(insertPendingTask(*text, token), token);
}

QCoro::Task<> ReplyLoop::insertPendingTask(QString text, CancelToken token) {
    const DraftDelivery::Result result = co_await delivery_.insertPending(text, hotkeyName(), token);
    if (token.isCancelled())
        co_return;
    if (!result.placed) {
        setPendingNote(result.note);
        co_return;
    }
    recorder_.amendLastLineBreaks(result.lineBreaks);
    showInserted();
}

void ReplyLoop::setPendingNote(const std::optional<QString>& note) {
    phase_ = Phase::pending();
    if (!pendingTimeout_) { // the draft's two minutes ran out while this insert was trying
        cancel();
        return;
    }
    s_.overlay.model().setPendingNote(note);
    relayoutIfVisible();
}

void ReplyLoop::copyPending() {
    const std::optional<QString> text = s_.overlay.model().pendingDraft();
    if (!text)
        return;
    delivery_.copy(*text);
    cancelWork(); // an Insert still trying must not bring the copied draft back as pending
    cancelPendingTimeout();
    phase_ = Phase::idle();
    s_.overlay.model().setPendingDraft(std::nullopt);
    recorder_.amendLastOutcome(QStringLiteral("Copied instead of inserted"));
    present({OverlayMessage::Kind::notice, QStringLiteral("Copied the draft"),
             QStringLiteral("Paste it wherever you need it."), std::nullopt});
}

void ReplyLoop::undoEdit() {
    OverlayModel& model = s_.overlay.model();
    const std::optional<QString> original = model.editedOriginal();
    if (!original)
        return;
    model.setEditedOriginal(std::nullopt);
    const std::optional<RunningApplication> front = s_.workspace.frontmostApplication();
    const std::optional<FocusSnapshot>& target = context_.target();
    if (target && front && front->pid == target->pid) {
        s_.keys.post(KeySynth::Key::undo);
        recorder_.amendLastOutcome(QStringLiteral("Replaced, then undone"));
        present({OverlayMessage::Kind::notice, QStringLiteral("Undone"), QStringLiteral("The text is back the way it was."),
                 std::nullopt});
        return;
    }
    delivery_.copy(*original);
    present({OverlayMessage::Kind::notice, QStringLiteral("Copied the original"),
             (target ? target->appName : QStringLiteral("The app")) +
                 QStringLiteral(" isn't in front any more, so the original text is on your clipboard."),
             std::nullopt});
}

void ReplyLoop::copyOriginal() {
    const std::optional<QString> original = s_.overlay.model().editedOriginal();
    if (!original)
        return;
    delivery_.copy(*original);
    present({OverlayMessage::Kind::notice, QStringLiteral("Copied the original text"), std::nullopt, std::nullopt});
}

} // namespace lumeno
