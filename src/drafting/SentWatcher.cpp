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

// Fields re-wrap what they receive (a line break becomes a paragraph, spaces collapse), so a draft is
// compared and found by its other characters, whatever whitespace the field put between its words.
QString withoutWhitespace(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text)
        if (!c.isSpace())
            kept.append(c);
    return kept;
}

std::optional<TextRange> placeOf(const QString& draft, const QString& value) {
    if (const qsizetype at = value.indexOf(draft); at >= 0)
        return TextRange{at, draft.size()};
    QStringList words;
    for (const QString& word : draft.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.append(QStringLiteral("\\Q") + word + QStringLiteral("\\E"));
    if (words.isEmpty() || draft.contains(QStringLiteral("\\E")))
        return std::nullopt;
    const std::optional<Regex> loose = Regex::compile(words.join(QStringLiteral("\\s+")));
    const std::optional<RegexMatch> match = loose ? loose->firstMatch(value) : std::nullopt;
    return match ? std::optional(match->range()) : std::nullopt;
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
    if (const std::optional<TextRange> place = placeOf(draft, value)) {
        before_ = value.left(place->start);
        after_ = value.mid(place->end());
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
    if (!value || Text::trimmed(*value).isEmpty()) { // emptied or gone: the message went out
        finish(true);
        return;
    }
    const QString own = ownPart(*value);
    if (own.isEmpty()) {
        // The user deleted their reply but the quoted original is still there: nothing of theirs to learn
        // unless they write again.
        lastValue_.reset();
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
    const bool edited = last && withoutWhitespace(*last) != withoutWhitespace(draft_);
    stop();
    if (sent && edited && isLearning()) {
        Log::draft.info(QStringLiteral("Learned a style example (%{public}ld chars)"), {qint64(last->size())});
        onLearn(*last);
    }
}

} // namespace lumeno
