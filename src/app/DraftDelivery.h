#pragma once

#include "screen/EditRequest.h"
#include "screen/FieldInserter.h"
#include "support/CancelToken.h"

#include <QCoroTask>
#include <QString>

#include <optional>

namespace lumeno {

class ContextPacker;
class Pasteboard;

// Puts a finished draft where it goes (pasted into the field, replacing the text an edit rewrites, or onto
// the clipboard) and says what became of it: in the field, or waiting for the user, with a note on what
// to do. The context packer is told of every draft and copy, so none of them comes back as context.
class DraftDelivery {
public:
    struct Result {
        bool placed = false;         // in the field and read back from it
        std::optional<QString> note; // while the draft waits: what the user can do, if anything needs saying
        std::optional<FieldInserter::LineBreaks> lineBreaks;
        bool operator==(const Result&) const = default;
    };

    DraftDelivery(FieldInserter& inserter, ContextPacker& contextPacker, Pasteboard& pasteboard)
        : inserter_(inserter), contextPacker_(contextPacker), pasteboard_(pasteboard) {}

    // `key` is the hot key's name, for the notes that ask to press it. Each ends empty once `token` is
    // cancelled.
    QCoro::Task<Result> insert(QString text, std::optional<qint64> expectedPID, bool protectSelection, QString key,
                               CancelToken token);
    QCoro::Task<Result> replace(EditRequest request, QString text, std::optional<qint64> expectedPID, QString key,
                                CancelToken token);
    // Inserts a waiting draft into whatever field has the focus now.
    QCoro::Task<Result> insertPending(QString text, QString key, CancelToken token);
    void copy(const QString& text);

    // What an outcome means for a reply, an edit and a waiting draft.
    static Result ofReply(const FieldInserter::Outcome& outcome, const QString& key);
    static Result ofEdit(const FieldInserter::Outcome& outcome, const QString& key);
    static Result ofPending(const FieldInserter::Outcome& outcome, const QString& key);

private:
    QCoro::Task<Result> conclude(QCoro::Task<FieldInserter::Outcome> pasting, QString logLine,
                                 Result (*meaning)(const FieldInserter::Outcome&, const QString&), QString key,
                                 CancelToken token);

    FieldInserter& inserter_;
    ContextPacker& contextPacker_;
    Pasteboard& pasteboard_;
};

} // namespace lumeno
