#include "app/DraftDelivery.h"

#include "platform/Pasteboard.h"
#include "screen/ContextPacker.h"
#include "support/Log.h"

namespace lumeno {

using Outcome = FieldInserter::Outcome;
using Result = DraftDelivery::Result;

namespace {

const QString unconfirmedReply = QStringLiteral("If the reply isn't in the field, click it and press Insert.");

Result placed() {
    return {true, std::nullopt, std::nullopt};
}

Result waiting(const std::optional<QString>& note) {
    return {false, note, std::nullopt};
}

// What an outcome that needs no other field means: placed, or waiting with the inserter's message or, when
// the paste could not be read back, with `unconfirmed`.
std::optional<Result> settled(const Outcome& outcome, const QString& unconfirmed) {
    switch (outcome.kind) {
    case Outcome::Kind::refused:
    case Outcome::Kind::failed:
        return waiting(outcome.message);
    case Outcome::Kind::inserted:
        return outcome.verified ? placed() : waiting(unconfirmed);
    case Outcome::Kind::needsTarget:
        break;
    }
    return std::nullopt;
}

} // namespace

QCoro::Task<Result> DraftDelivery::insert(QString text, std::optional<qint64> expectedPID, bool protectSelection,
                                          QString key, CancelToken token) {
    contextPacker_.noteOwnDraft(text);
    co_return co_await conclude(inserter_.insert(text, expectedPID, protectSelection),
                                QStringLiteral("Insert outcome: %{public}s"), &ofReply, key, token);
}

QCoro::Task<Result> DraftDelivery::replace(EditRequest request, QString text, std::optional<qint64> expectedPID,
                                           QString key, CancelToken token) {
    contextPacker_.noteOwnDraft(text);
    co_return co_await conclude(inserter_.replace(request.original, text, request.scope, expectedPID),
                                QStringLiteral("Edit outcome: %{public}s"), &ofEdit, key, token);
}

QCoro::Task<Result> DraftDelivery::insertPending(QString text, QString key, CancelToken token) {
    contextPacker_.noteOwnDraft(text);
    co_return co_await conclude(inserter_.insert(text, std::nullopt, false),
                                QStringLiteral("Pending insert outcome: %{public}s"), &ofPending, key, token);
}

QCoro::Task<Result> DraftDelivery::conclude(QCoro::Task<Outcome> pasting, QString logLine,
                                            Result (*meaning)(const Outcome&, const QString&), QString key,
                                            CancelToken token) {
    const Outcome outcome = co_await std::move(pasting);
    if (token.isCancelled())
        co_return Result{};
    Log::insert.info(logLine, {outcome.description()});
    Result result = meaning(outcome, key);
    result.lineBreaks = inserter_.lastLineBreaks();
    co_return result;
}

void DraftDelivery::copy(const QString& text) {
    contextPacker_.noteOwnDraft(text);
    pasteboard_.write(PasteboardContents::plain(text));
    contextPacker_.noteOwnChange(pasteboard_.changeCount(), false);
}

Result DraftDelivery::ofReply(const Outcome& outcome, const QString& key) {
    if (const std::optional<Result> result = settled(outcome, unconfirmedReply))
        return *result;
    switch (outcome.reason) {
    case FieldInserter::PendingReason::noField:
        return waiting(std::nullopt);
    case FieldInserter::PendingReason::unconfirmed:
        return waiting(unconfirmedReply);
    case FieldInserter::PendingReason::selectionInTheWay:
        break;
    }
    return waiting(QStringLiteral("Draft ready. Click where the reply goes so your selection stays, then tap ") + key +
                   QStringLiteral("."));
}

Result DraftDelivery::ofEdit(const Outcome& outcome, const QString& key) {
    if (const std::optional<Result> result =
            settled(outcome, QStringLiteral("If the edit isn't in the field, click it and press Insert.")))
        return *result;
    return waiting(QStringLiteral("Edit ready. Select the text it replaces, then tap ") + key + QStringLiteral("."));
}

Result DraftDelivery::ofPending(const Outcome& outcome, const QString& key) {
    if (const std::optional<Result> result = settled(outcome, unconfirmedReply))
        return *result;
    return waiting(QStringLiteral("Click into a text field first, then tap ") + key + QStringLiteral("."));
}

} // namespace lumeno
