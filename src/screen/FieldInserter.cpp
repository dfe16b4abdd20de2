#include "screen/FieldInserter.h"

#include "foundation/SurfaceClassifier.h"
#include "platform/AXNames.h"
#include "screen/EditTarget.h"
#include "screen/PasteCheck.h"
#include "screen/RichText.h"
#include "support/Text.h"

#include <QCoroFuture>
#include <QPointer>

#include <variant>

namespace lumeno {

namespace {

// The field's text without its selection, which a paste replaces; all of it when the selection is unknown.
std::optional<QString> withoutSelection(const std::optional<QString>& value, const std::optional<TextRange>& selection) {
    if (!value || !selection || selection->start < 0 || selection->end() > value->size())
        return value;
    return QString(*value).remove(selection->start, selection->length);
}

QString terminalRefusal() {
    return QStringLiteral("Lumeno doesn't type into terminals. Click into a message field, then press Insert.");
}

QString passwordRefusal() {
    return QStringLiteral("Lumeno doesn't type into password fields. Click into the message, then press Insert.");
}

QString otherAppRefusal(const QString& appName) {
    return (appName.isEmpty() ? QStringLiteral("Another app") : appName) +
           QStringLiteral(" is in front now, so Lumeno didn't paste there. Click where the text goes, then "
                          "press Insert.");
}

QString clipboardFailure() {
    return QStringLiteral("Lumeno couldn't put the text on the clipboard to paste it. Copy it and paste it "
                          "yourself.");
}

QString clipboardHeldFailure() {
    return QStringLiteral("The app holding your clipboard isn't responding, so Lumeno didn't paste over what you "
                          "copied. Copy the text and paste it yourself.");
}

QString keyFailure() {
    return QStringLiteral("Lumeno couldn't send the paste keystroke. Copy the text and paste it yourself.");
}

bool isTextRole(const std::optional<QString>& role) {
    return role == AXRole::textField || role == AXRole::textArea || role == AXRole::comboBox;
}

// The same text, give or take spacing at its ends and canonical Unicode forms.
bool sameText(const QString& a, const QString& b) { return Text::canonicallyEqual(Text::trimmed(a), Text::trimmed(b)); }

} // namespace

QString FieldInserter::caseName(PendingReason reason) {
    switch (reason) {
    case PendingReason::noField:
        return QStringLiteral("noField");
    case PendingReason::unconfirmed:
        return QStringLiteral("unconfirmed");
    case PendingReason::selectionInTheWay:
        break;
    }
    return QStringLiteral("selectionInTheWay");
}

QString FieldInserter::Outcome::description() const {
    switch (kind) {
    case Kind::inserted:
        return QStringLiteral("inserted(verified: %1)").arg(verified ? QStringLiteral("true") : QStringLiteral("false"));
    case Kind::needsTarget:
        return QStringLiteral("needsTarget(%1)").arg(caseName(reason));
    case Kind::refused:
        return QStringLiteral("refused(\"%1\")").arg(message);
    case Kind::failed:
        break;
    }
    return QStringLiteral("failed(\"%1\")").arg(message);
}

FieldInserter::FieldInserter(FocusInspector& focus, Accessibility& accessibility, Pasteboard& pasteboard,
                             KeySynth& keys, Scheduler& scheduler, QObject* parent)
    : QObject(parent),
      onPasteboardWrite([](qint64, bool) {}),
      focus_(focus),
      accessibility_(accessibility),
      pasteboard_(pasteboard),
      keys_(keys),
      scheduler_(scheduler) {}

std::optional<FieldInserter::Outcome> FieldInserter::problemWith(const std::optional<FocusSnapshot>& target,
                                                                 std::optional<qint64> expectedPID) {
    if (!target)
        return Outcome::needsTarget(PendingReason::noField);
    if (FocusInspector::isTerminal(*target))
        return Outcome::refused(terminalRefusal());
    if (FocusInspector::isPasswordField(*target))
        return Outcome::refused(passwordRefusal());
    if (expectedPID && target->pid != *expectedPID)
        return Outcome::refused(otherAppRefusal(target->appName));
    const bool takesText = target->editability == FocusSnapshot::Editability::editable ||
                           (target->editability == FocusSnapshot::Editability::unknown && isTextRole(target->role));
    if (!target->element || !takesText)
        return Outcome::needsTarget(PendingReason::noField);
    return std::nullopt;
}

QCoro::Task<std::variant<FocusSnapshot, FieldInserter::Outcome>> FieldInserter::usableTarget(
    std::optional<qint64> expectedPID) {
    QPointer<FieldInserter> self(this);
    const std::optional<FocusSnapshot> target = co_await focus_.snapshot();
    if (!self)
        co_return Outcome::needsTarget(PendingReason::noField);
    if (const std::optional<Outcome> problem = problemWith(target, expectedPID))
        co_return *problem;
    co_return *target;
}

QCoro::Task<FieldInserter::Outcome> FieldInserter::insert(QString text, std::optional<qint64> expectedPID,
                                                          bool protectSelection) {
    lastLineBreaks_.reset();
    const std::variant<FocusSnapshot, Outcome> target = co_await usableTarget(expectedPID);
    if (const Outcome* problem = std::get_if<Outcome>(&target))
        co_return *problem;
    const FocusSnapshot& field = std::get<FocusSnapshot>(target);
    if (protectSelection && field.selectedText && !field.selectedText->isEmpty())
        co_return Outcome::needsTarget(PendingReason::selectionInTheWay);
    const Outcome outcome = co_await paste(text, field, protectSelection);
    co_return outcome;
}

QCoro::Task<FieldInserter::Outcome> FieldInserter::replace(QString original, QString text, EditRequest::Scope scope,
                                                           std::optional<qint64> expectedPID) {
    lastLineBreaks_.reset();
    QPointer<FieldInserter> self(this);
    const std::variant<FocusSnapshot, Outcome> target = co_await usableTarget(expectedPID);
    if (const Outcome* problem = std::get_if<Outcome>(&target))
        co_return *problem;
    const FocusSnapshot& field = std::get<FocusSnapshot>(target);
    if (scope == EditRequest::Scope::selection) {
        // The paste replaces the selection: it must still be the text the edit was made from.
        if (!field.selectedText || !sameText(*field.selectedText, original))
            co_return Outcome::needsTarget(PendingReason::unconfirmed);
    } else {
        const bool selected = co_await selectOwnPart(field, original);
        if (!self)
            co_return Outcome::needsTarget(PendingReason::noField);
        if (!selected)
            co_return Outcome::needsTarget(PendingReason::unconfirmed);
    }
    // The edit pastes over the selection it has just checked or made.
    const Outcome outcome = co_await paste(text, field, false);
    co_return outcome;
}

QCoro::Task<bool> FieldInserter::selectOwnPart(FocusSnapshot target, QString original) {
    QPointer<FieldInserter> self(this);
    const std::optional<QString> value = co_await readValue(*target.element);
    if (!self || !value)
        co_return false;
    const std::optional<EditTarget> own = EditTarget::whole(*value);
    if (!own || !sameText(own->text, original))
        co_return false;
    const AccessibleElement element = *target.element;
    const TextRange range = own->range;
    QCoro::Task<bool> selection = accessibility_.run([element, range](Accessibility& accessibility) {
        return accessibility.setAttribute(element, AXAttribute::selectedTextRange, range);
    });
    const bool selected = co_await selection;
    if (!self)
        co_return false;
    if (selected)
        co_return true;
    // Without a settable selection, select-all still serves when the user's part is all the field holds.
    co_return Text::trimmed(*value) == own->text && focus_.isFront(target.pid) &&
        keys_.post(KeySynth::Key::selectAll);
}

QCoro::Task<FieldInserter::Outcome> FieldInserter::paste(QString text, FocusSnapshot target, bool protectSelection) {
    QPointer<FieldInserter> self(this);
    const AccessibleElement element = *target.element;
    const bool rich = target.webURL &&
                      SurfaceClassifier::classify(target.bundleID, target.windowTitle, target.webURL) == Surface::email;
    const int breaks = PasteCheck::lineBreaks(text);
    // The user may have moved on since the snapshot: the paste key goes wherever the focus is now.
    const FieldState field = co_await readField(target, breaks);
    if (!self || !field.stillFocused)
        co_return Outcome::needsTarget(PendingReason::noField);
    // A field that keeps its text to itself may still say where its selection is.
    if (protectSelection && field.selection && field.selection->length > 0)
        co_return Outcome::needsTarget(PendingReason::selectionInTheWay);
    const std::optional<QString>& before = field.value;
    // What the paste leaves of the field, and of the paragraphs around it: all but the selection it replaces.
    const std::optional<QString> kept = withoutSelection(before, field.selection);
    std::optional<QString> keptSpan = field.span.text();
    if (const qsizetype at = keptSpan && before ? keptSpan->indexOf(*before) : -1; at >= 0)
        keptSpan->replace(at, before->size(), *kept);

    // The user's copy goes back after the paste. An application that holds it and does not hand it over
    // (it may have stopped responding) would lose it to the draft: nothing is pasted then.
    QCoro::Task<Pasteboard::Reading> reading = pasteboard_.read(PasteboardForms::all);
    const Pasteboard::Reading userCopy = co_await reading;
    if (!self)
        co_return Outcome::needsTarget(PendingReason::noField);
    if (userCopy.unanswered)
        co_return Outcome::failed(clipboardHeldFailure());
    const std::optional<PasteboardContents>& previous = userCopy.contents;
    PasteboardContents draft = PasteboardContents::plain(text);
    if (rich) {
        draft.html = RichText::html(text);
        draft.rtf = RichText::rtf(text);
    }
    draft.transient = true;
    draft.autoGenerated = true;
    if (!pasteboard_.write(draft))
        co_return Outcome::failed(clipboardFailure());
    const qint64 draftChange = pasteboard_.changeCount();
    report(false);
    if (!focus_.isFront(target.pid)) {
        restore(previous, draftChange);
        co_return Outcome::needsTarget(PendingReason::noField);
    }
    if (!keys_.post(KeySynth::Key::paste)) {
        restore(previous, draftChange);
        co_return Outcome::failed(keyFailure());
    }

    // Applications take a moment to handle the paste: look until the text shows up, for a while.
    ReadBack after;
    PasteCheck check;
    for (int attempt = 1;; ++attempt) {
        after = co_await readBack(element, field.span, breaks);
        if (!self)
            co_return Outcome::inserted(false);
        check = PasteCheck::evaluate(before, after.value, text, kept);
        // A word processor's paragraphs are elements of their own: a paste of several lines leaves only its
        // first in the field that held the caret, and the rest in the paragraphs it added beside it.
        if (!check.verified && after.span) {
            const PasteCheck acrossParagraphs = PasteCheck::evaluate(field.span.text(), after.span, text, keptSpan);
            if (acrossParagraphs.verified)
                check = acrossParagraphs;
        }
        if (check.verified || !after.readable() || attempt == verifyAttempts)
            break;
        co_await scheduler_.sleep(verifyInterval);
        if (!self)
            co_return Outcome::inserted(false);
    }
    lastLineBreaks_ = LineBreaks{breaks, check.foundLineBreaks, rich};
    restore(previous, draftChange);
    if (check.verified)
        co_return Outcome::inserted(true);
    // A field that can't be read back may well have the text; one that can and doesn't, didn't take it.
    co_return after.readable() ? Outcome::needsTarget(PendingReason::unconfirmed) : Outcome::inserted(false);
}

QCoro::Task<FieldInserter::FieldState> FieldInserter::readField(FocusSnapshot target, int lineBreaks) {
    QCoro::Task<FieldState> read = accessibility_.run([target, lineBreaks](Accessibility& accessibility) {
        FieldState state;
        state.stillFocused = accessibility.focusedElement(target.pid) == target.element;
        if (state.stillFocused) {
            state.value = accessibility.string(*target.element, AXAttribute::value);
            state.selection = accessibility.range(*target.element, AXAttribute::selectedTextRange);
            if (lineBreaks > 0)
                state.span = ParagraphSpan::around(accessibility, *target.element, lineBreaks);
        }
        return state;
    });
    const FieldState state = co_await read;
    co_return state;
}

QCoro::Task<FieldInserter::ReadBack> FieldInserter::readBack(AccessibleElement element, ParagraphSpan span,
                                                               int lineBreaks) {
    QCoro::Task<ReadBack> read = accessibility_.run([element, span = std::move(span),
                                                     lineBreaks](Accessibility& accessibility) {
        ReadBack back;
        back.value = accessibility.string(element, AXAttribute::value);
        if (span.text())
            back.span = span.readAgain(accessibility, lineBreaks);
        return back;
    });
    const ReadBack back = co_await read;
    co_return back;
}

QCoro::Task<std::optional<QString>> FieldInserter::readValue(AccessibleElement element) {
    // Named before it is awaited: g++ 12 releases the captures of a lambda that is a temporary inside a
    // co_await expression twice.
    QCoro::Task<std::optional<QString>> read = accessibility_.run(
        [element](Accessibility& accessibility) { return accessibility.string(element, AXAttribute::value); });
    const std::optional<QString> value = co_await read;
    co_return value;
}

void FieldInserter::report(bool restoresUserCopy) {
    if (onPasteboardWrite)
        onPasteboardWrite(pasteboard_.changeCount(), restoresUserCopy);
}

void FieldInserter::restore(const std::optional<PasteboardContents>& previous, qint64 draftChange) {
    if (pasteboard_.changeCount() != draftChange)
        return; // the user (or another program) copied something since: that is what stays
    if (pasteboard_.write(previous.value_or(PasteboardContents{})))
        report(true);
}

} // namespace lumeno
