#pragma once

#include "platform/Pasteboard.h"
#include "screen/PackedContext.h"
#include "screen/ScreenReader.h"
#include "support/Clock.h"
#include "support/Scheduler.h"

#include <QCoroTask>
#include <QDateTime>

#include <deque>
#include <optional>

namespace lumeno {

// Chooses the context a reply is drafted from: the user's selection, else the conversation read from the
// screen, else what the user copied a moment ago. It watches the clipboard to tell the user's copies from
// the program's own writes. Every text it hands out is redacted and bounded.
class ContextPacker {
public:
    static constexpr int minimumSelectionCharacters = 2;
    static constexpr int minimumScreenCharacters = 120;
    static constexpr int maximumCharacters = 6000;     // UTF-16 units of packed text
    static constexpr double watchInterval = 0.75;      // seconds between clipboard checks
    static constexpr double recentCopySeconds = 120;   // how long a copy counts as "a moment ago"
    static constexpr int ownChangesKept = 16;

    ContextPacker(Pasteboard& pasteboard, const Clock& clock, Scheduler& scheduler);
    ~ContextPacker();
    ContextPacker(const ContextPacker&) = delete;
    ContextPacker& operator=(const ContextPacker&) = delete;

    // Starts the clipboard watch; a second call does nothing.
    void start();
    // Ends the watch (when the program quits).
    void stop();
    std::optional<Scheduler::TimerId> timer() const { return timer_; }

    // Records a clipboard change the program made itself (the change count after its write), so the watch
    // never takes it for a copy by the user. A restore puts the user's own copy back.
    void noteOwnChange(qint64 changeCount, bool restoresUserCopy);
    // Records the text of a draft the program is about to put on the clipboard. A clipboard manager may
    // offer it again later (when a restore leaves the clipboard empty, say): that is never the user's copy.
    void noteOwnDraft(const QString& text);

    // Whether a selection is enough to be the context (at least two characters once trimmed).
    static bool isContext(const std::optional<QString>& selection);
    // The context for a reply, or none. The screen text counts only with at least 120 characters. The
    // clipboard is read only when the other two give nothing; nothing of the packer is used after that read,
    // so the packer may go meanwhile.
    QCoro::Task<std::optional<PackedContext>> pack(std::optional<QString> selection,
                                                   std::optional<ScreenReader::Conversation> screen);

    qint64 lastSeenChange() const { return lastSeenChange_; }
    std::optional<QDateTime> userCopyTime() const { return userCopyTime_; }

private:
    // One look at the clipboard: a change the program did not make is a copy by the user.
    void checkPasteboard();
    // Whether the user copied something within the last two minutes that is still on the clipboard.
    bool holdsRecentUserCopy();
    // The plain text the user copied, read from the clipboard, unless a program marked it as not for
    // reading or it is one of the program's own drafts offered again.
    static QCoro::Task<std::optional<QString>> userCopy(Pasteboard& pasteboard, std::deque<QString> ownDrafts);
    static bool isOwn(const std::deque<qint64>& changes, qint64 changeCount);

    Pasteboard& pasteboard_;
    const Clock& clock_;
    Scheduler& scheduler_;
    qint64 lastSeenChange_;
    std::optional<qint64> userCopyChange_;
    std::optional<QDateTime> userCopyTime_;
    std::deque<qint64> ownDraftChanges_;
    std::deque<qint64> restoreChanges_;
    std::deque<QString> ownDrafts_;
    std::optional<Scheduler::TimerId> timer_;
};

} // namespace lumeno
