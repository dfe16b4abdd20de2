#include "drafting/SentWatcher.h"

#include "platform/AXNames.h"
#include "platform/Accessibility.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QSet>

namespace lumeno {
namespace {

// Below this share of the draft's words, the field holds some other message.
constexpr double leastSharedWords = 0.25;

QSet<QString> wordsOf(const QString& text) {
    static const Regex word = Regex::fixed(QStringLiteral("[\\p{L}\\p{N}]+"));
    QSet<QString> words;
    for (const RegexMatch& match : word.allMatches(text))
        words.insert(Text::folded(match.captured(text)));
    return words;
}

} // namespace

SentWatcher::SentWatcher(Accessibility& accessibility, Scheduler& scheduler, const Clock& clock)
    : accessibility_(accessibility), scheduler_(scheduler), clock_(clock), started_(clock.now()) {}

SentWatcher::~SentWatcher() { stop(); }

void SentWatcher::watch(const AccessibleElement& element, const QString& draft) {
    stop();
    element_ = element;
    draft_ = draft;
    started_ = clock_.now();
    const QString value = accessibility_.string(element, AXAttribute::value).value_or(QString());
    const qsizetype at = value.indexOf(draft);
    if (at >= 0) {
        before_ = value.left(at);
        after_ = value.mid(at + draft.size());
    }
    timer_ = scheduler_.every(tickSeconds, [this] { tick(); });
}

void SentWatcher::tick() {
    if (!element_)
        return;
    if (started_.msecsTo(clock_.now()) > giveUpSeconds * 1000) {
        finish(false);
        return;
    }
    const std::optional<QString> value = accessibility_.string(*element_, AXAttribute::value);
    const QString own = value ? ownPart(*value) : QString();
    if (own.isEmpty()) { // emptied or gone: the message went out
        finish(true);
        return;
    }
    if (!isRelatedToDraft(own)) {
        finish(false);
        return;
    }
    lastValue_ = own;
}

void SentWatcher::stop() {
    if (timer_)
        scheduler_.cancel(*timer_);
    timer_.reset();
    element_.reset();
    draft_.clear();
    before_.clear();
    after_.clear();
    lastValue_.reset();
}

QString SentWatcher::ownPart(const QString& value) const {
    QString own = value;
    if (!after_.isEmpty() && own.endsWith(after_))
        own.chop(after_.size());
    if (!before_.isEmpty() && own.startsWith(before_))
        own.remove(0, before_.size());
    return Text::trimmed(own);
}

bool SentWatcher::isRelatedToDraft(const QString& text) const {
    const QSet<QString> draftWords = wordsOf(draft_);
    if (draftWords.isEmpty())
        return true;
    const qsizetype shared = QSet<QString>(draftWords).intersect(wordsOf(text)).size();
    return double(shared) / double(draftWords.size()) >= leastSharedWords;
}

void SentWatcher::finish(bool sent) {
    const std::optional<QString> last = lastValue_;
    const bool edited = last && *last != Text::trimmed(draft_);
    stop();
    if (sent && edited && isLearning()) {
        Log::draft.info(QStringLiteral("Learned a style example (%{public}ld chars)"), {qint64(last->size())});
        onLearn(*last);
    }
}

} // namespace lumeno
