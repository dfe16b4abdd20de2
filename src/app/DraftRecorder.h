#pragma once

#include "app/ConversationRead.h"
#include "details/DraftDetails.h"
#include "memory/MemoryDetector.h"
#include "screen/FieldInserter.h"
#include "screen/FocusSnapshot.h"
#include "screen/PackedContext.h"

#include <QUuid>

#include <functional>
#include <optional>

namespace lumeno {

class Clock;
class DraftDetailsStore;
class SettingsStore;
struct DraftInput;
struct DraftResult;

// Writes how each draft was made while the user has draft details on. The reply loop tells it what
// happened, step by step; it keeps the one open record, commits it with its outcome, and amends the last
// committed one with what became of a draft later (inserted after all, copied, undone, dismissed).
class DraftRecorder {
public:
    DraftRecorder(DraftDetailsStore& store, const SettingsStore& settings, const Clock& clock);

    // Opens a record for a new dictation while draft details are on.
    void open(DraftDetails::Kind kind);
    // Drops the open record unsaved.
    void discard();
    // Opens a copy of the last committed record for another try at its draft.
    void reopenLast();
    bool isOpen() const { return record_.has_value(); }

    void switchedToEdit();
    void readField(const FocusSnapshot& snapshot, int milliseconds);
    void readConversation(const ConversationRead& read, const std::optional<PackedContext>& packed);
    void foundRecipient(const std::optional<MemoryDetector::Addressed>& addressed, const std::optional<QString>& matched,
                        const std::optional<QString>& partner, Surface surface);
    void heard(const QString& dictation, double seconds);
    void builtInput(const DraftInput& input, bool personPicked, const QString& signName);
    void drafted(const DraftResult& result);
    void pasted(const std::optional<FieldInserter::LineBreaks>& breaks);
    // Closes the open record with `outcome`; without one, nothing happens.
    void commit(const QString& outcome);

    void amendLastOutcome(const QString& outcome);
    void amendLastLineBreaks(const std::optional<FieldInserter::LineBreaks>& breaks);

    std::optional<QUuid> lastRecordID() const { return lastRecordID_; }
    // Why the open record's dictation reads no thread, once that is known.
    std::optional<QString> conversationNote() const;

    // What the line-break check found, as the record says it.
    static std::optional<QString> lineBreaksSummary(const std::optional<FieldInserter::LineBreaks>& breaks);

private:
    void amendLast(const std::function<void(DraftDetails&)>& change);

    DraftDetailsStore& store_;
    const SettingsStore& settings_;
    const Clock& clock_;
    std::optional<DraftDetails> record_;
    std::optional<QUuid> lastRecordID_;
};

} // namespace lumeno
