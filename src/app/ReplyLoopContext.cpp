// Reading what the draft is made from while the user speaks: the text an edit rewrites, the conversation
// around the field, the packed context and the person the reply goes to.
#include "app/ReplyLoop.h"

#include "drafting/StyleStore.h"
#include "foundation/SettingsStore.h"
#include "foundation/SurfaceClassifier.h"
#include "memory/MemoryStore.h"
#include "memory/PersonMatcher.h"
#include "overlay/CaptureOverlay.h"
#include "platform/Workspace.h"
#include "screen/ContextPacker.h"
#include "screen/ConversationStats.h"
#include "screen/EditTarget.h"
#include "screen/FocusInspector.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QPointer>
#include <QCoroFuture>

namespace lumeno {

namespace {

using Status = DraftDetails::Conversation::Status;

QString sourceName(PackedContext::Source source) {
    switch (source) {
    case PackedContext::Source::selection:
        return QStringLiteral("selection");
    case PackedContext::Source::screen:
        return QStringLiteral("screen");
    case PackedContext::Source::clipboard:
        break;
    }
    return QStringLiteral("clipboard");
}

QString badge(PackedContext::Source source) {
    switch (source) {
    case PackedContext::Source::selection:
        return QStringLiteral("Selection");
    case PackedContext::Source::screen:
        return QStringLiteral("Conversation");
    case PackedContext::Source::clipboard:
        break;
    }
    return QStringLiteral("Clipboard");
}

bool isBlank(const std::optional<QString>& text) {
    return !text || text->trimmed().isEmpty();
}

} // namespace

QCoro::Task<std::optional<OverlayMessage>> ReplyLoop::prepareEdit(std::optional<FocusSnapshot> target,
                                                                 CancelToken token) {
    const QPointer<ReplyLoop> self(this);
    const auto notice = [](const QString& title, const QString& detail) {
        return OverlayMessage{OverlayMessage::Kind::notice, title, detail, std::nullopt};
    };
    const OverlayMessage tooMuch =
        notice(QStringLiteral("That's too much text to edit by voice"),
               QStringLiteral("Select the part you want to change, then hold ") + editHotkeyName() + QStringLiteral("."));
    if (!target || !target->element || target->editability != FocusSnapshot::Editability::editable)
        co_return notice(QStringLiteral("Click into the text you want to change"),
                         QStringLiteral("Edit mode (") + editHotkeyName() +
                             QStringLiteral(") rewrites the selected text, or the whole message in a text field."));

    const AccessibleElement element = *target->element;
    QCoro::Task<std::optional<QString>> read = s_.focus.value(element);
    const std::optional<QString> fieldText = co_await read;
    if (!self || token.isCancelled())
        co_return std::nullopt; // the caller checks the token too and ends quietly

    std::optional<EditRequest> request;
    if (!isBlank(target->selectedText)) {
        if (Text::hasAtLeastCharacters(*target->selectedText, maxEditCharacters + 1))
            co_return tooMuch;
        request = EditRequest{*target->selectedText, EditRequest::Scope::selection,
                              fieldText ? fieldText->left(maxSurroundingCharacters) : QString()};
    } else if (fieldText) {
        if (const std::optional<EditTarget> own = EditTarget::whole(*fieldText)) {
            if (Text::hasAtLeastCharacters(own->text, maxEditCharacters + 1))
                co_return tooMuch;
            request = EditRequest{own->text, EditRequest::Scope::wholeField, QString()};
        }
    }
    // An object the field could not spell out stands in its text as U+FFFC: rewriting it would lose it.
    if (request && request->original.contains(QChar(0xFFFC)))
        co_return notice(QStringLiteral("Lumeno can't read all of that text"),
                         QStringLiteral("It holds a picture or another object Lumeno can't rewrite. Select only the "
                                        "words to change, then hold ") +
                             editHotkeyName() + QStringLiteral("."));
    if (!request)
        co_return notice(QStringLiteral("There's no text here to change"),
                         QStringLiteral("Write or insert a message first, or select the part to change, then hold ") +
                             editHotkeyName() + QStringLiteral("."));

    const bool selection = request->scope == EditRequest::Scope::selection;
    Log::app.info(QStringLiteral("Edit target: %{public}s, %{public}ld chars"),
                  {selection ? QStringLiteral("selection") : QStringLiteral("whole field"), qint64(request->original.size())});
    editRequest_ = request;
    s_.overlay.model().setEditTarget(selection ? QStringLiteral("Selection") : QStringLiteral("Whole message"));
    relayoutIfVisible();
    refreshListeningDebug();
    co_return std::nullopt;
}

QCoro::Task<> ReplyLoop::gatherContext(std::optional<FocusSnapshot> target, CancelToken token) {
    const QPointer<ReplyLoop> self(this);
    const ConversationRead read = co_await readConversation(target);
    if (!self || token.isCancelled())
        co_return;
    const std::optional<QString> selection = editing_ || !target ? std::nullopt : target->selectedText;
    std::optional<ScreenReader::Conversation> screen = read.conversation;
    packedContext_ = s_.contextPacker.pack(selection, screen);

    OverlayModel& model = s_.overlay.model();
    if (!packedContext_) {
        model.setContextBadge(std::nullopt);
    } else {
        Log::context.info(
            QStringLiteral("Context from %{public}s: %{public}ld chars, %{public}ld redactions, about %{public}ld messages"),
            {sourceName(packedContext_->source), qint64(packedContext_->text.size()), qint64(packedContext_->redactions),
             qint64(ConversationStats::estimatedMessages(packedContext_->text))});
        model.setContextBadge(badge(packedContext_->source));
        model.setContextEnabled(true);
    }
    recorder_.readConversation(read, packedContext_);
    matchPerson(target, packedContext_);
    relayoutIfVisible();
    refreshListeningDebug();
}

QCoro::Task<ConversationRead> ReplyLoop::readConversation(std::optional<FocusSnapshot> target) {
    const auto skipped = [](Status status, const QString& note) {
        ConversationRead read;
        read.skipped = status;
        read.note = note;
        return read;
    };
    if (!s_.settings.readsConversation())
        co_return skipped(Status::off,
                          QStringLiteral("Not read: “Use the conversation on screen” is off in Settings → General."));
    if (!target || !target->element || FocusInspector::isPasswordField(*target) ||
        target->pid == s_.workspace.ownProcessId())
        co_return skipped(Status::skipped, QStringLiteral("Not read: no text field had focus."));
    if (targetSurface() == Surface::other)
        co_return skipped(Status::skipped,
                          QStringLiteral("Not read: Lumeno reads the screen only in email and chat apps, and it "
                                         "doesn't know ") + target->appName + QStringLiteral(" as one."));
    if (!editing_ && ContextPacker::isContext(target->selectedText))
        co_return skipped(Status::skipped, QStringLiteral("Not read: your selection was the context."));
    if (target->bundleID && SurfaceClassifier::isBrowser(*target->bundleID) && !target->webURL)
        co_return skipped(Status::skipped, QStringLiteral("Not read: the focused field isn't in a web page."));

    const QDateTime started = s_.clock.now();
    QCoro::Task<std::optional<ScreenReader::Conversation>> reading = s_.screenReader.read(*target->element);
    const QPointer<ReplyLoop> self(this);
    std::optional<ScreenReader::Conversation> conversation = co_await reading;
    if (!self)
        co_return ConversationRead{}; // the caller checks too and drops it
    const int milliseconds = int(started.msecsTo(s_.clock.now()));
    Log::context.info(QStringLiteral("Read conversation: %{public}ld chars from %{public}ld elements, %{public}ld "
                                     "levels up, in %{public}ld ms"),
                      {qint64(conversation ? conversation->text.size() : 0), qint64(conversation ? conversation->nodes : 0),
                       qint64(conversation ? conversation->levels : 0), qint64(milliseconds)});
    ConversationRead read;
    read.conversation = std::move(conversation);
    read.milliseconds = milliseconds;
    co_return read;
}

void ReplyLoop::matchPerson(const std::optional<FocusSnapshot>& target, const std::optional<PackedContext>& context) {
    const Surface surface = targetSurface();
    partner_.reset();
    if (surface == Surface::chat && target && target->windowTitle) {
        if (const std::optional<RegexMatch> match = MemoryDetector::directMessageTitle().firstMatch(*target->windowTitle))
            partner_ = match->captured(*target->windowTitle, 1);
    }
    addressed_ = context ? MemoryDetector::recipient(context->text, ownNames(), context->fieldOffset) : std::nullopt;
    const std::optional<Person> matched = personForReply(surface, target ? target->windowTitle : std::nullopt);
    if (!personPicked_)
        personID_ = matched ? std::optional<QUuid>(matched->id) : std::nullopt;

    OverlayModel& model = s_.overlay.model();
    const std::optional<Person> person = s_.memory.person(personID_);
    if (person)
        model.setPersonBadge(person->name);
    else if (addressed_ && !personPicked_)
        model.setPersonBadge(addressed_->name);
    else
        model.setPersonBadge(std::nullopt);

    const bool sameCard = (person ? std::optional<QUuid>(person->id) : std::nullopt) ==
                          (matched ? std::optional<QUuid>(matched->id) : std::nullopt);
    const bool nothingToPickFor = sameCard && !context && surface == Surface::other && !partner_;
    if (!nothingToPickFor) {
        std::vector<PersonChoice> choices;
        for (const Person& each : s_.memory.people())
            choices.push_back({each.id, each.name});
        model.setPersonChoices(choices);
    }
    if (person)
        Log::memory.info(QStringLiteral("Person card matched (%{public}ld commitments)"),
                         {qint64(s_.memory.commitments(person->id).size())});
    if (addressed_)
        Log::memory.info(QStringLiteral("Reply is %{public}s"),
                         {addressed_->followingUp ? QStringLiteral("a follow-up to the other person")
                                                  : QStringLiteral("to the last message's author")});
    recorder_.foundRecipient(addressed_, matched ? std::optional<QString>(matched->name) : std::nullopt, partner_, surface);
}

QStringList ReplyLoop::ownNames() const {
    QStringList names;
    for (const QString& name : {s_.style.resolvedName(), s_.style.resolvedSignName(), s_.style.profile().name})
        if (!name.trimmed().isEmpty())
            names.append(name);
    return names;
}

std::optional<Person> ReplyLoop::personForReply(Surface surface, const std::optional<QString>& title) const {
    const QList<Person> people = s_.memory.people();
    if (addressed_) {
        QStringList lines{addressed_->name};
        if (addressed_->email)
            lines.append(*addressed_->email);
        return PersonMatcher::match(lines.join(QLatin1Char('\n')), people);
    }
    if (partner_)
        return PersonMatcher::match(*partner_, people);
    if (title && surface != Surface::other)
        return PersonMatcher::match(*title, people);
    return std::nullopt;
}

std::optional<QString> ReplyLoop::replyAddressee() const {
    if (personPicked_) {
        if (const std::optional<Person> person = s_.memory.person(personID_))
            return person->name;
        return std::nullopt;
    }
    return addressed_ ? std::optional<QString>(addressed_->name) : std::nullopt;
}

} // namespace lumeno
