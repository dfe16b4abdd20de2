#pragma once

#include "platform/Accessibility.h"
#include "platform/KeySynth.h"
#include "platform/Pasteboard.h"
#include "screen/EditRequest.h"
#include "screen/FocusInspector.h"
#include "screen/ParagraphSpan.h"
#include "support/Scheduler.h"

#include <QCoroTask>
#include <QObject>

#include <functional>
#include <optional>
#include <variant>

namespace lumeno {

// Puts text into another application's focused field by pasting it: the text goes on the clipboard,
// marked as the program's own and short-lived, the paste key is sent, the field is read back to see
// that it arrived, and the user's own clipboard comes back afterwards.
//
// It refuses terminals and password fields itself and never pastes into another process than the
// expected one, so no caller can get round those rules.
class FieldInserter : public QObject {
    Q_OBJECT
public:
    enum class PendingReason { noField, unconfirmed, selectionInTheWay };

    struct Outcome {
        enum class Kind { inserted, needsTarget, refused, failed };

        Kind kind = Kind::failed;
        bool verified = false;                         // inserted: read back from the field
        PendingReason reason = PendingReason::noField; // needsTarget
        QString message;                               // refused, failed: a sentence for the user

        static Outcome inserted(bool verified) { return {Kind::inserted, verified, {}, {}}; }
        static Outcome needsTarget(PendingReason reason) { return {Kind::needsTarget, false, reason, {}}; }
        static Outcome refused(const QString& message) { return {Kind::refused, false, {}, message}; }
        static Outcome failed(const QString& message) { return {Kind::failed, false, {}, message}; }

        // For the log: "inserted(verified: true)", "needsTarget(noField)", "refused(…)".
        QString description() const;

        bool operator==(const Outcome&) const = default;
    };

    struct LineBreaks {
        int expected = 0;         // in the text sent
        std::optional<int> found; // read back from the field
        bool rich = false;        // an HTML copy went along for a web editor
        bool operator==(const LineBreaks&) const = default;
    };

    // How long a pasted text is given to show up in the field.
    static constexpr double verifyInterval = 0.15;
    static constexpr int verifyAttempts = 8;

    FieldInserter(FocusInspector& focus, Accessibility& accessibility, Pasteboard& pasteboard, KeySynth& keys,
                  Scheduler& scheduler, QObject* parent = nullptr);

    // Told of every clipboard write: the change count after it, and whether it gave back the user's copy.
    std::function<void(qint64 changeCount, bool restoresUserCopy)> onPasteboardWrite;

    // The line-break check of the last paste.
    const std::optional<LineBreaks>& lastLineBreaks() const { return lastLineBreaks_; }

    // Pastes `text` at the focused field's selection. `expectedPID`: the process the field must belong
    // to (none: any). `protectSelection`: a selection in the field must stay, so the text waits instead.
    QCoro::Task<Outcome> insert(QString text, std::optional<qint64> expectedPID, bool protectSelection);
    // Replaces `original` with `text`: the selection when it still holds the original, or the user's own
    // part of the field's text.
    QCoro::Task<Outcome> replace(QString original, QString text, EditRequest::Scope scope,
                                 std::optional<qint64> expectedPID);

    static QString caseName(PendingReason reason);

private:
    // Why the focused element must not or cannot take text; none when it can.
    static std::optional<Outcome> problemWith(const std::optional<FocusSnapshot>& target,
                                              std::optional<qint64> expectedPID);
    // The focused field when it may take text, otherwise the outcome that says why not.
    QCoro::Task<std::variant<FocusSnapshot, Outcome>> usableTarget(std::optional<qint64> expectedPID);
    // Selects the user's own part of the field, the text a whole-field edit replaces.
    QCoro::Task<bool> selectOwnPart(FocusSnapshot target, QString original);
    // `protectSelection`: a selection found in the field just before the paste makes the text wait.
    QCoro::Task<Outcome> paste(QString text, FocusSnapshot target, bool protectSelection);
    // The field as it is just before the paste, read in one go off the main thread.
    struct FieldState {
        bool stillFocused = false; // the snapshot's element still has its application's focus
        std::optional<QString> value;
        std::optional<TextRange> selection;
        ParagraphSpan span; // the paragraphs beside it, for a text of `lineBreaks` breaks
    };
    QCoro::Task<FieldState> readField(FocusSnapshot target, int lineBreaks);
    // The field, and the paragraphs beside it, after the paste.
    struct ReadBack {
        std::optional<QString> value;
        std::optional<QString> span;
        bool readable() const { return value || span; }
    };
    QCoro::Task<ReadBack> readBack(AccessibleElement element, ParagraphSpan span, int lineBreaks);
    QCoro::Task<std::optional<QString>> readValue(AccessibleElement element);
    void report(bool restoresUserCopy);
    // Gives the user's clipboard back, unless someone wrote to it after the draft.
    void restore(const std::optional<PasteboardContents>& previous, qint64 draftChange);

    FocusInspector& focus_;
    Accessibility& accessibility_;
    Pasteboard& pasteboard_;
    KeySynth& keys_;
    Scheduler& scheduler_;
    std::optional<LineBreaks> lastLineBreaks_;
};

} // namespace lumeno
