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

// The part of the field's text the user is writing: the field without the text that stood around the
// draft when it went in (an e-mail body keeps the quoted original under the reply).
QString ownPart(const QString& value, const QString& before, const QString& after) {
    QString own = value;
    if (!after.isEmpty() && own.endsWith(after))
        own.chop(after.size());
    if (!before.isEmpty() && own.startsWith(before))
        own.remove(0, before.size());
    return Text::trimmed(own);
}

bool isRelatedToDraft(const QString& text, const QString& draft) {
    const QSet<QString> draftWords = wordsOf(draft);
    if (draftWords.isEmpty())
        return true;
    const qsizetype shared = QSet<QString>(draftWords).intersect(wordsOf(text)).size();
    return double(shared) / double(draftWords.size()) >= leastSharedWords;
}

} // namespace

SentWatcher::SentWatcher(Accessibility& accessibility, Scheduler& scheduler, const Clock& clock)
    : accessibility_(accessibility), scheduler_(scheduler), clock_(clock) {}

SentWatcher::~SentWatcher() { stop(); }

void SentWatcher::watch(const AccessibleElement& element, const QString& draft) {
    stop();
    watch_ = std::make_shared<Watch>();
    watch_->element = element;
    watch_->draft = draft;
    watch_->started = clock_.now();
    place(watch_);
    timer_ = scheduler_.every(tickSeconds, [this] { tick(); });
}

QCoro::Task<std::optional<std::optional<QString>>> SentWatcher::readField(std::shared_ptr<Watch> watch) {
    watch->reading = true;
    const std::weak_ptr<bool> alive = alive_;
    // The read holds the port alone, never this watcher, which may be gone before the read ends.
    QCoro::Task<std::optional<QString>> reading = accessibility_.run(
        [element = watch->element](Accessibility& accessibility) { return accessibility.string(element, AXAttribute::value); });
    const std::optional<QString> value = co_await reading;
    if (alive.expired() || watch->ended)
        co_return std::nullopt;
    watch->reading = false;
    co_return value;
}

QCoro::Task<> SentWatcher::place(std::shared_ptr<Watch> watch) {
    const std::optional<std::optional<QString>> value = co_await readField(watch);
    if (!value)
        co_return;
    const QString text = value->value_or(QString());
    if (const std::optional<TextRange> place = placeOf(watch->draft, text)) {
        watch->before = text.left(place->start);
        watch->after = text.mid(place->end());
    }
    watch->placed = true;
}

void SentWatcher::tick() {
    const std::shared_ptr<Watch> watch = watch_;
    if (!watch)
        return;
    if (watch->started.msecsTo(clock_.now()) > giveUpSeconds * 1000) {
        finish(watch, false);
        return;
    }
    if (watch->placed && !watch->reading)
        check(watch);
}

void SentWatcher::conclude() {
    const std::shared_ptr<Watch> watch = watch_;
    if (!watch)
        return;
    detach(); // no more ticks: this last look runs by itself
    watch->concluding = true;
    if (!watch->placed)
        watch->ended = true; // nothing to compare with yet
    else if (!watch->reading)
        check(watch); // a read already on its way is the last look otherwise
}

QCoro::Task<> SentWatcher::check(std::shared_ptr<Watch> watch) {
    const std::optional<std::optional<QString>> value = co_await readField(watch);
    if (!value)
        co_return;
    look(watch, *value);
    if (watch->concluding)
        watch->ended = true;
}

void SentWatcher::look(const std::shared_ptr<Watch>& watch, const std::optional<QString>& value) {
    if (!value || Text::trimmed(*value).isEmpty()) { // emptied or gone: the message went out
        finish(watch, true);
        return;
    }
    const QString own = ownPart(*value, watch->before, watch->after);
    if (own.isEmpty()) {
        // The user deleted their reply but the quoted original is still there: nothing of theirs to learn
        // unless they write again.
        watch->lastValue.reset();
        return;
    }
    if (!isRelatedToDraft(own, watch->draft)) {
        finish(watch, false);
        return;
    }
    watch->lastValue = own;
}

void SentWatcher::stop() {
    if (watch_)
        end(watch_);
}

void SentWatcher::end(const std::shared_ptr<Watch>& watch) {
    watch->ended = true;
    if (watch == watch_)
        detach();
}

void SentWatcher::detach() {
    if (timer_)
        scheduler_.cancel(*timer_);
    timer_.reset();
    watch_.reset();
}

void SentWatcher::finish(const std::shared_ptr<Watch>& watch, bool sent) {
    const std::optional<QString> last = watch->lastValue;
    const bool edited = last && withoutWhitespace(*last) != withoutWhitespace(watch->draft);
    end(watch);
    if (sent && edited && isLearning()) {
        Log::draft.info(QStringLiteral("Learned a style example (%{public}ld chars)"), {qint64(last->size())});
        onLearn(*last);
    }
}

} // namespace lumeno
