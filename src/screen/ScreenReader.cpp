#include "screen/ScreenReader.h"

#include "platform/AXNames.h"
#include "screen/EditTarget.h"
#include "support/Text.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace lumeno {

namespace {

// Controls and decoration: their titles ("Send", "Reply", "Bold") are not part of anyone's message, nor is
// what a status bar says of the window ("Loading file …").
bool isSkipped(const QString& role) {
    static const QSet<QString> roles = {
        AXRole::button, AXRole::menuButton, AXRole::popUpButton, AXRole::checkBox, AXRole::radioButton,
        AXRole::menuBar, AXRole::menu, AXRole::menuItem, AXRole::toolbar, AXRole::scrollBar,
        AXRole::slider, AXRole::image, AXRole::splitter, AXRole::progressIndicator, AXRole::statusBar,
    };
    return roles.contains(role);
}

bool isField(const QString& role) {
    return role == AXRole::textField || role == AXRole::textArea || role == AXRole::comboBox;
}

// Above the field, the part nearest to it is the end of a text; below it, the beginning.
enum class Side { above, below };

QString nearestPart(const QString& text, qsizetype length, Side side) {
    if (length <= 0)
        return {};
    qsizetype start = side == Side::above ? text.size() - length : 0;
    qsizetype end = start + length;
    // Never split a surrogate pair.
    if (start > 0 && text.at(start).isLowSurrogate())
        ++start;
    if (end < text.size() && text.at(end).isLowSurrogate())
        --end;
    return text.mid(start, end - start);
}

// Form labels read as their own elements ("To:", then the field): put them on one line with their value.
QString joinLines(const QStringList& lines) {
    constexpr int labelLimit = 24;
    QStringList joined;
    for (const QString& line : lines) {
        if (!joined.isEmpty()) {
            const QString& previous = joined.back();
            if (previous.size() <= labelLimit && previous.endsWith(QLatin1Char(':')) &&
                previous.count(QLatin1Char(':')) == 1 && !line.startsWith(previous)) {
                joined.back() = previous + QLatin1Char(' ') + line;
                continue;
            }
        }
        joined.push_back(line);
    }
    return joined.join(QLatin1Char('\n'));
}

// One read of the tree around a field, with its bounds.
class ConversationWalk {
public:
    ConversationWalk(Accessibility& accessibility, const Clock& clock, const ScreenReader::Limits& limits)
        : ax_(accessibility), clock_(clock), limits_(limits),
          deadline_(clock.now().addMSecs(qRound64(limits.seconds * 1000))) {}

    std::optional<ScreenReader::Conversation> read(const AccessibleElement& field) {
        const AccessibleElement editor = editorRoot(field);
        noteLabel(field);
        if (editor != field)
            noteLabel(editor);
        addFieldQuote(editor);
        int levels = 0;
        AccessibleElement child = editor;
        while (levels < limits_.levels && !full()) {
            if (!spend())
                break;
            const std::optional<AccessibleElement> parent = ax_.parent(child);
            if (!parent)
                break;
            const QString role = ax_.string(*parent, AXAttribute::role).value_or(QString());
            if (role == AXRole::application)
                break; // never into the application's other windows
            ++levels;
            readAround(*parent, child);
            // The window, or the web page in a browser, is as far as a conversation reaches.
            if (role == AXRole::window || role == AXRole::webArea || characters_ >= limits_.enoughCharacters)
                break;
            child = *parent;
        }
        if (levels == 0 && fieldQuote_.isEmpty())
            return std::nullopt;
        return assemble(levels);
    }

private:
    // The focus may sit on a paragraph inside a rich editor: the editor is its outermost editable ancestor,
    // and all of it is the user's draft.
    AccessibleElement editorRoot(const AccessibleElement& field) {
        constexpr int maximumSteps = 8;
        AccessibleElement editor = field;
        for (int step = 0; step < maximumSteps && spend(); ++step) {
            const std::optional<AccessibleElement> parent = ax_.parent(editor);
            if (!parent || ax_.isSettable(*parent, AXAttribute::value) != true)
                break;
            editor = *parent;
        }
        return editor;
    }

    // A field's label ("Message Bo Lind") names the field: it is nobody's message, nor a sender.
    void noteLabel(const AccessibleElement& field) {
        if (!spend())
            return;
        if (const QString label = Text::trimmed(ax_.string(field, AXAttribute::title).value_or(QString())); !label.isEmpty())
            labels_.insert(label);
    }

    // A mail reply carries the message it answers inside the field, under the user's text.
    void addFieldQuote(const AccessibleElement& editor) {
        if (!spend())
            return;
        const QString value = ax_.string(editor, AXAttribute::value).value_or(QString());
        if (const std::optional<qsizetype> start = EditTarget::quoteStart(value)) {
            const QString quote = Text::trimmed(value.mid(*start));
            fieldQuote_ = nearestPart(quote, std::min<qsizetype>(limits_.characters, quote.size()), Side::below);
            truncated_ = truncated_ || fieldQuote_.size() < quote.size();
            characters_ += fieldQuote_.size();
        }
    }

    void readAround(const AccessibleElement& parent, const AccessibleElement& child) {
        const std::vector<AccessibleElement> children = ax_.children(parent);
        const auto position = std::find(children.begin(), children.end(), child);
        // A parent that doesn't list the child (the tree changed under us) gives no way to tell which side
        // is which, nor to keep the draft out: its other children are left alone.
        if (position == children.end())
            return;
        // Nearest first in both directions, so the bounds cut off what is farthest from the field.
        for (auto it = std::make_reverse_iterator(position); it != children.rend() && !full(); ++it)
            collect(*it, Side::above);
        for (auto it = std::next(position); it != children.end() && !full() && !belowFull_; ++it)
            collect(*it, Side::below);
    }

    void collect(const AccessibleElement& element, Side side) {
        if (full() || (side == Side::below && belowFull_) || !spend())
            return;
        // What the window keeps out of sight (a closed list of choices, a panel switched away, a status
        // line between files) is the application's own, not the conversation: none of it is read.
        if (ax_.flag(element, AXAttribute::hidden) == true)
            return;
        const QString role = ax_.string(element, AXAttribute::role).value_or(QString());
        if (isSkipped(role))
            return;
        if (role == AXRole::staticText) {
            add(firstText(element, {AXAttribute::value, AXAttribute::title}), side);
            return;
        }
        if (isField(role)) {
            // Another field's text (a To line, a subject) is context; a password field is never read.
            if (ax_.string(element, AXAttribute::subrole) != AXSubrole::secureTextField)
                add(ax_.string(element, AXAttribute::value).value_or(QString()), side);
            return;
        }
        std::vector<AccessibleElement> children = ax_.children(element);
        if (children.empty()) {
            add(firstText(element, {AXAttribute::title, AXAttribute::value}), side);
            return;
        }
        if (side == Side::above)
            std::reverse(children.begin(), children.end());
        for (const AccessibleElement& child : children)
            collect(child, side);
    }

    // The first of the attributes that holds text; the later ones are only asked when needed.
    QString firstText(const AccessibleElement& element, std::initializer_list<QLatin1String> attributes) {
        for (const QLatin1String attribute : attributes)
            if (const std::optional<QString> text = ax_.string(element, attribute); text && !text->isEmpty())
                return *text;
        return {};
    }

    void add(const QString& rawText, Side side) {
        const QString text = Text::trimmed(rawText);
        if (text.isEmpty() || labels_.contains(text))
            return;
        qsizetype room = limits_.characters - characters_;
        if (side == Side::below)
            room = std::min<qsizetype>(room, limits_.charactersBelow - charactersBelow_);
        const QString kept = nearestPart(text, std::min(room, text.size()), side);
        if (kept.size() < text.size()) {
            truncated_ = true;
            if (side == Side::below)
                belowFull_ = true;
            else
                characters_ = limits_.characters;
        }
        if (kept.isEmpty())
            return;
        (side == Side::above ? above_ : below_).push_back(kept);
        characters_ += kept.size();
        if (side == Side::below)
            charactersBelow_ += kept.size();
    }

    // Counts one element against the node and time bounds; false once either is used up.
    bool spend() {
        if (stopped_)
            return false;
        if (nodes_ >= limits_.nodes || clock_.now() >= deadline_) {
            stopped_ = true;
            truncated_ = true;
            return false;
        }
        ++nodes_;
        return true;
    }

    bool full() const { return stopped_ || characters_ >= limits_.characters; }

    ScreenReader::Conversation assemble(int levels) const {
        QStringList aboveInOrder(above_.rbegin(), above_.rend());
        const QString before = joinLines(aboveInOrder);
        QStringList rest;
        if (!fieldQuote_.isEmpty())
            rest.push_back(fieldQuote_);
        rest.append(below_);
        const QString after = joinLines(rest);
        ScreenReader::Conversation conversation;
        conversation.text = before.isEmpty() || after.isEmpty() ? before + after : before + QLatin1Char('\n') + after;
        conversation.fieldOffset = before.isEmpty() ? 0 : before.size() + 1;
        conversation.fieldOffset = std::min(conversation.fieldOffset, conversation.text.size());
        conversation.truncated = truncated_;
        conversation.nodes = nodes_;
        conversation.levels = levels;
        return conversation;
    }

    Accessibility& ax_;
    const Clock& clock_;
    const ScreenReader::Limits& limits_;
    const QDateTime deadline_;
    QStringList above_; // nearest first
    QStringList below_; // in reading order
    QString fieldQuote_;
    QSet<QString> labels_;
    qsizetype characters_ = 0;
    qsizetype charactersBelow_ = 0;
    int nodes_ = 0;
    bool truncated_ = false;
    bool stopped_ = false;
    bool belowFull_ = false;
};

} // namespace

ScreenReader::ScreenReader(Accessibility& accessibility, const Clock& clock, Limits limits)
    : accessibility_(accessibility), clock_(clock), limits_(limits) {}

QCoro::Task<std::optional<ScreenReader::Conversation>> ScreenReader::read(AccessibleElement around) const {
    // A copy of this reader goes along (references to the port and the clock, which outlive every read).
    QCoro::Task<std::optional<Conversation>> reading =
        accessibility_.run([reader = *this, around](Accessibility&) { return reader.conversation(around); });
    std::optional<Conversation> conversation = co_await reading;
    co_return conversation;
}

std::optional<ScreenReader::Conversation> ScreenReader::conversation(const AccessibleElement& around) const {
    return ConversationWalk(accessibility_, clock_, limits_).read(around);
}

} // namespace lumeno
