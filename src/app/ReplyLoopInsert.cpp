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
#include "platform/Pasteboard.h"
#include "platform/Workspace.h"
#include "screen/ContextPacker.h"
#include "support/Log.h"

#include <QPointer>

namespace lumeno {

using Phase = TriggerLogic::Phase;
using Outcome = FieldInserter::Outcome;

namespace {

constexpr double insertedHide = 1.8;
constexpr double insertedWithOffersHide = 9.0;
constexpr double editedHide = 8.0;
constexpr double allOffersSavedHide = 1.4;
constexpr double someOffersSavedHide = 6.0;

const QString unconfirmedReply = QStringLiteral("If the reply isn't in the field, click it and press Insert.");

} // namespace

QCoro::Task<> ReplyLoop::insert(QString text, std::optional<qint64> expectedPID, bool protectSelection,
                                CancelToken token) {
    const QPointer<ReplyLoop> self(this);
    s_.contextPacker.noteOwnDraft(text);
    const Outcome outcome = co_await s_.inserter.insert(text, expectedPID, protectSelection);
    if (!self || token.isCancelled())
        co_return;
    noteOutcome(QStringLiteral("Insert outcome: %{public}s"), outcome);
    switch (outcome.kind) {
    case Outcome::Kind::refused:
    case Outcome::Kind::failed:
        showPending(text, outcome.message);
        break;
    case Outcome::Kind::inserted:
        if (!outcome.verified) {
            showPending(text, unconfirmedReply);
            break;
        }
        showInserted();
        if (s_.style.profile().learnFromEdits && target_ && target_->element &&
            target_->editability == FocusSnapshot::Editability::editable)
            s_.sentWatcher.watch(*target_->element, text);
        break;
    case Outcome::Kind::needsTarget:
        showPending(text, pendingNote(outcome.reason));
        break;
    }
}

QCoro::Task<> ReplyLoop::replace(EditRequest request, QString text, CancelToken token) {
    const QPointer<ReplyLoop> self(this);
    s_.contextPacker.noteOwnDraft(text);
    const Outcome outcome = co_await s_.inserter.replace(request.original, text, request.scope,
                                                         target_ ? std::optional<qint64>(target_->pid) : std::nullopt);
    if (!self || token.isCancelled())
        co_return;
    noteOutcome(QStringLiteral("Edit outcome: %{public}s"), outcome);
    switch (outcome.kind) {
    case Outcome::Kind::refused:
    case Outcome::Kind::failed:
        showPending(text, outcome.message);
        break;
    case Outcome::Kind::inserted:
        if (outcome.verified)
            showEdited(request);
        else
            showPending(text, QStringLiteral("If the edit isn't in the field, click it and press Insert."));
        break;
    case Outcome::Kind::needsTarget:
        showPending(text, QStringLiteral("Edit ready. Select the text it replaces, then tap ") + hotkeyName() +
                              QStringLiteral("."));
        break;
    }
}

void ReplyLoop::noteOutcome(const QString& logFormat, const FieldInserter::Outcome& outcome) {
    Log::insert.info(logFormat, {outcome.description()});
    recorder_.pasted(s_.inserter.lastLineBreaks());
}

std::optional<QString> ReplyLoop::pendingNote(FieldInserter::PendingReason reason) const {
    switch (reason) {
    case FieldInserter::PendingReason::noField:
        return std::nullopt;
    case FieldInserter::PendingReason::unconfirmed:
        return unconfirmedReply;
    case FieldInserter::PendingReason::selectionInTheWay:
        break;
    }
    return QStringLiteral("Draft ready. Click where the reply goes so your selection stays, then tap ") + hotkeyName() +
           QStringLiteral(".");
}

void ReplyLoop::showPending(const QString& text, const std::optional<QString>& note) {
    phase_ = Phase::pending();
    OverlayModel& model = s_.overlay.model();
    model.setPendingDraft(text);
    model.setPendingNote(note);
    s_.overlay.show(OverlayPhase::pending);
    cancelPendingTimeout();
    const QPointer<ReplyLoop> self(this);
    pendingTimeout_ = s_.scheduler.after(pendingTimeoutSeconds, [self] {
        if (!self)
            return;
        self->pendingTimeout_.reset();
        // While an Insert of the draft is trying, its end decides: a draft still not in a field goes then.
        if (self->phase_.kind == Phase::Kind::pending)
            self->cancel();
    });
    recorder_.commit(QStringLiteral("Waiting: ") + note.value_or(QStringLiteral("no text field had focus")));
}

void ReplyLoop::showInserted() {
    phase_ = Phase::idle();
    cancelPendingTimeout();
    OverlayModel& model = s_.overlay.model();
    model.setPendingDraft(std::nullopt);
    model.setPendingNote(std::nullopt);
    model.setOffers(saveOffers());
    s_.overlay.show(OverlayPhase::inserted);
    const qsizetype offers = model.offers().size();
    s_.overlay.hide(offers > 0 ? insertedWithOffersHide : insertedHide);
    if (offers > 0)
        Log::memory.info(QStringLiteral("Offered %{public}ld memory saves"), {qint64(offers)});
    if (recorder_.isOpen())
        recorder_.commit(QStringLiteral("Inserted"));
    else
        recorder_.amendLastOutcome(QStringLiteral("Inserted after you picked the field"));
}

std::vector<SaveOffer> ReplyLoop::saveOffers() const {
    if (!lastInput_ || lastInput_->edit || !lastDraft_)
        return {};
    std::optional<QString> thread;
    if (target_ && targetSurface() != Surface::other && target_->windowTitle)
        thread = PromptBuilder::windowTitle(*target_->windowTitle);
    const QList<SaveOffer> offers =
        s_.confirmFlow.offers(lastInput_->intent, *lastDraft_, lastInput_->context, s_.memory.person(personID_), thread,
                              s_.style.resolvedName(), partner_);
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

void ReplyLoop::pickPerson(const std::optional<QUuid>& id) {
    personID_ = id;
    personPicked_ = true;
    const std::optional<Person> person = s_.memory.person(id);
    s_.overlay.model().setPersonBadge(person ? std::optional<QString>(person->name) : std::nullopt);
    relayoutIfVisible();
    refreshListeningDebug();
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
    const QPointer<ReplyLoop> self(this);
    s_.contextPacker.noteOwnDraft(text);
    const Outcome outcome = co_await s_.inserter.insert(text, std::nullopt, false);
    if (!self || token.isCancelled())
        co_return;
    Log::insert.info(QStringLiteral("Pending insert outcome: %{public}s"), {outcome.description()});
    switch (outcome.kind) {
    case Outcome::Kind::refused:
    case Outcome::Kind::failed:
        setPendingNote(outcome.message);
        break;
    case Outcome::Kind::inserted:
        if (outcome.verified) {
            recorder_.amendLastLineBreaks(s_.inserter.lastLineBreaks());
            showInserted();
        } else {
            setPendingNote(unconfirmedReply);
        }
        break;
    case Outcome::Kind::needsTarget:
        setPendingNote(QStringLiteral("Click into a text field first, then tap ") + hotkeyName() + QStringLiteral("."));
        break;
    }
}

void ReplyLoop::setPendingNote(const QString& note) {
    phase_ = Phase::pending();
    if (!pendingTimeout_) { // the draft's two minutes ran out while this insert was trying
        cancel();
        return;
    }
    s_.overlay.model().setPendingNote(note);
    relayoutIfVisible();
}

void ReplyLoop::copyToPasteboard(const QString& text) {
    s_.contextPacker.noteOwnDraft(text);
    s_.pasteboard.write(PasteboardContents::plain(text));
    s_.contextPacker.noteOwnChange(s_.pasteboard.changeCount(), false);
}

void ReplyLoop::copyPending() {
    const std::optional<QString> text = s_.overlay.model().pendingDraft();
    if (!text)
        return;
    copyToPasteboard(*text);
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
    if (target_ && front && front->pid == target_->pid) {
        s_.keys.post(KeySynth::Key::undo);
        recorder_.amendLastOutcome(QStringLiteral("Replaced, then undone"));
        present({OverlayMessage::Kind::notice, QStringLiteral("Undone"), QStringLiteral("The text is back the way it was."),
                 std::nullopt});
        return;
    }
    copyToPasteboard(*original);
    present({OverlayMessage::Kind::notice, QStringLiteral("Copied the original"),
             (target_ ? target_->appName : QStringLiteral("The app")) +
                 QStringLiteral(" isn't in front any more, so the original text is on your clipboard."),
             std::nullopt});
}

void ReplyLoop::copyOriginal() {
    const std::optional<QString> original = s_.overlay.model().editedOriginal();
    if (!original)
        return;
    copyToPasteboard(*original);
    present({OverlayMessage::Kind::notice, QStringLiteral("Copied the original text"), std::nullopt, std::nullopt});
}

} // namespace lumeno
