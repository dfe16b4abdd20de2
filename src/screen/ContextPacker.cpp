#include "screen/ContextPacker.h"

#include "foundation/SecretRedactor.h"
#include "screen/TextCut.h"
#include "support/Text.h"

#include <algorithm>

namespace lumeno {

namespace {

// A huge copy is shortened before redaction so the redactor never scans megabytes. The margin is far
// wider than any secret, so a secret cut by this first cut lies well inside the part the final cut drops.
constexpr qsizetype preRedactionLimit = ContextPacker::maximumCharacters * 4;

PackedContext packedWithoutMiddle(PackedContext::Source source, const QString& text) {
    const SecretRedactor::Result redacted = SecretRedactor::redact(TextCut::withoutMiddle(text, preRedactionLimit));
    PackedContext packed{source, TextCut::withoutMiddle(redacted.text, ContextPacker::maximumCharacters),
                         redacted.count, false, std::nullopt};
    packed.truncated = text.size() > preRedactionLimit || packed.text.size() < redacted.text.size();
    return packed;
}

// The conversation keeps the part nearest the field. The two sides are redacted apart so the field's
// place is still known afterwards; a secret never spans it, as elements are read whole.
PackedContext packedScreen(const ScreenReader::Conversation& conversation) {
    const qsizetype offset = std::clamp<qsizetype>(conversation.fieldOffset, 0, conversation.text.size());
    const SecretRedactor::Result above = SecretRedactor::redact(conversation.text.left(offset));
    const SecretRedactor::Result below = SecretRedactor::redact(conversation.text.mid(offset));
    const QString whole = above.text + below.text;
    const TextRange kept = TextCut::keptAround(whole, above.text.size(), ContextPacker::maximumCharacters);
    const QString part = whole.mid(kept.start, kept.length);
    PackedContext packed{PackedContext::Source::screen, Text::trimmed(part), above.count + below.count, false,
                         std::nullopt};
    packed.truncated = conversation.truncated || whole.size() > ContextPacker::maximumCharacters;
    // Trimming took spacing off the front; what stays keeps its distance to the field.
    const qsizetype trimmedFront = packed.text.isEmpty() ? 0 : part.indexOf(packed.text);
    packed.fieldOffset = std::clamp<qsizetype>(above.text.size() - kept.start - trimmedFront, 0, packed.text.size());
    return packed;
}

} // namespace

bool ContextPacker::isContext(const std::optional<QString>& selection) {
    return selection && Text::hasAtLeastCharacters(Text::trimmed(*selection), minimumSelectionCharacters);
}

ContextPacker::ContextPacker(Pasteboard& pasteboard, const Clock& clock, Scheduler& scheduler)
    : pasteboard_(pasteboard), clock_(clock), scheduler_(scheduler), lastSeenChange_(pasteboard.changeCount()) {}

ContextPacker::~ContextPacker() { stop(); }

void ContextPacker::start() {
    if (timer_)
        return;
    timer_ = scheduler_.every(watchInterval, [this] { checkPasteboard(); });
}

void ContextPacker::stop() {
    if (timer_)
        scheduler_.cancel(*timer_);
    timer_.reset();
}

void ContextPacker::noteOwnChange(qint64 changeCount, bool restoresUserCopy) {
    std::deque<qint64>& changes = restoresUserCopy ? restoreChanges_ : ownDraftChanges_;
    changes.push_back(changeCount);
    while (changes.size() > size_t(ownChangesKept))
        changes.pop_front();
    lastSeenChange_ = std::max(lastSeenChange_, changeCount);
}

void ContextPacker::noteOwnDraft(const QString& text) {
    ownDrafts_.push_back(Text::trimmed(text));
    while (ownDrafts_.size() > size_t(ownChangesKept))
        ownDrafts_.pop_front();
}

bool ContextPacker::isOwn(const std::deque<qint64>& changes, qint64 changeCount) {
    return std::find(changes.begin(), changes.end(), changeCount) != changes.end();
}

void ContextPacker::checkPasteboard() {
    const qint64 changeCount = pasteboard_.changeCount();
    if (changeCount == lastSeenChange_)
        return;
    lastSeenChange_ = changeCount;
    if (isOwn(ownDraftChanges_, changeCount) || isOwn(restoreChanges_, changeCount))
        return;
    userCopyChange_ = changeCount;
    userCopyTime_ = clock_.now();
}

bool ContextPacker::holdsRecentUserCopy() {
    checkPasteboard(); // a copy made just before the key press counts even if the watch hasn't seen it
    if (!userCopyChange_ || !userCopyTime_ || userCopyTime_->msecsTo(clock_.now()) > recentCopySeconds * 1000)
        return false;
    // Still the user's copy: the same change, or the program's restore of it after pasting a draft.
    const qint64 changeCount = pasteboard_.changeCount();
    return changeCount == *userCopyChange_ || (changeCount > *userCopyChange_ && isOwn(restoreChanges_, changeCount));
}

QCoro::Task<std::optional<QString>> ContextPacker::userCopy(Pasteboard& pasteboard, std::deque<QString> ownDrafts) {
    QCoro::Task<Pasteboard::Reading> reading = pasteboard.read(PasteboardForms::text);
    const Pasteboard::Reading read = co_await reading;
    const std::optional<PasteboardContents>& contents = read.contents;
    if (!contents || contents->concealed || contents->transient || contents->autoGenerated || !contents->plainText)
        co_return std::nullopt;
    const QString text = Text::trimmed(*contents->plainText);
    if (std::find(ownDrafts.begin(), ownDrafts.end(), text) != ownDrafts.end())
        co_return std::nullopt;
    co_return contents->plainText;
}

QCoro::Task<std::optional<PackedContext>> ContextPacker::pack(std::optional<QString> selection,
                                                              std::optional<ScreenReader::Conversation> screen) {
    if (isContext(selection))
        co_return packedWithoutMiddle(PackedContext::Source::selection, Text::trimmed(*selection));
    if (screen && Text::hasAtLeastCharacters(Text::trimmed(screen->text), minimumScreenCharacters))
        co_return packedScreen(*screen);
    if (!holdsRecentUserCopy())
        co_return std::nullopt;
    QCoro::Task<std::optional<QString>> reading = userCopy(pasteboard_, ownDrafts_);
    const std::optional<QString> copy = co_await reading;
    if (!copy)
        co_return std::nullopt;
    const QString text = Text::trimmed(*copy);
    if (!Text::hasAtLeastCharacters(text, minimumSelectionCharacters))
        co_return std::nullopt;
    co_return packedWithoutMiddle(PackedContext::Source::clipboard, text);
}

} // namespace lumeno
