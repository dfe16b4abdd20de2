#include "app/ContextReader.h"

#include "drafting/StyleStore.h"
#include "foundation/ReplyLanguage.h"
#include "foundation/SettingsStore.h"
#include "foundation/SurfaceClassifier.h"
#include "memory/MemoryStore.h"
#include "memory/PersonMatcher.h"
#include "platform/Workspace.h"
#include "screen/ContextPacker.h"
#include "screen/ConversationStats.h"
#include "screen/EditTarget.h"
#include "screen/FocusInspector.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Regex.h"
#include "support/Text.h"

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

bool isBlank(const std::optional<QString>& text) {
    return !text || text->trimmed().isEmpty();
}

OverlayMessage notice(const QString& title, const QString& detail) {
    return OverlayMessage{OverlayMessage::Kind::notice, title, detail, std::nullopt};
}

} // namespace

void ContextReader::reset() {
    target_.reset();
    editRequest_.reset();
    packedContext_.reset();
    personID_.reset();
    personPicked_ = false;
    offersPersonChoice_ = false;
    partner_.reset();
    addressed_.reset();
}

Surface ContextReader::surface() const {
    if (!target_)
        return Surface::other;
    return SurfaceClassifier::classify(target_->bundleID, target_->windowTitle, target_->webURL);
}

QCoro::Task<std::optional<OverlayMessage>> ContextReader::readEditTarget(QString editKey, CancelToken token) {
    const OverlayMessage tooMuch =
        notice(QStringLiteral("That's too much text to edit by voice"),
               QStringLiteral("Select the part you want to change, then hold ") + editKey + QStringLiteral("."));
    if (!target_ || !target_->element || target_->editability != FocusSnapshot::Editability::editable)
        co_return notice(QStringLiteral("Click into the text you want to change"),
                         QStringLiteral("Edit mode (") + editKey +
                             QStringLiteral(") rewrites the selected text, or the whole message in a text field."));

    const std::optional<QString> selected = target_->selectedText;
    const AccessibleElement element = *target_->element;
    const std::optional<QString> fieldText = co_await s_.focus.value(element);
    if (token.isCancelled())
        co_return std::nullopt; // the caller checks the token too and ends quietly

    std::optional<EditRequest> request;
    if (!isBlank(selected)) {
        if (Text::hasAtLeastCharacters(*selected, maxEditCharacters + 1))
            co_return tooMuch;
        request = EditRequest{*selected, EditRequest::Scope::selection,
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
                             editKey + QStringLiteral("."));
    if (!request)
        co_return notice(QStringLiteral("There's no text here to change"),
                         QStringLiteral("Write or insert a message first, or select the part to change, then hold ") +
                             editKey + QStringLiteral("."));

    Log::app.info(QStringLiteral("Edit target: %{public}s, %{public}ld chars"),
                  {request->scope == EditRequest::Scope::selection ? QStringLiteral("selection")
                                                                   : QStringLiteral("whole field"),
                   qint64(request->original.size())});
    editRequest_ = request;
    co_return std::nullopt;
}

QCoro::Task<ConversationRead> ContextReader::readConversation(bool editing, CancelToken token) {
    const auto skipped = [](Status status, const QString& note) {
        ConversationRead read;
        read.skipped = status;
        read.note = note;
        return read;
    };
    const std::optional<FocusSnapshot> target = target_;
    if (!s_.settings.readsConversation())
        co_return skipped(Status::off,
                          QStringLiteral("Not read: “Use the conversation on screen” is off in Settings → General."));
    if (!target || !target->element || FocusInspector::isPasswordField(*target) ||
        target->pid == s_.workspace.ownProcessId())
        co_return skipped(Status::skipped, QStringLiteral("Not read: no text field had focus."));
    if (surface() == Surface::other)
        co_return skipped(Status::skipped,
                          QStringLiteral("Not read: Lumeno reads the screen only in email and chat apps, and it "
                                         "doesn't know ") + target->appName + QStringLiteral(" as one."));
    if (!editing && ContextPacker::isContext(target->selectedText))
        co_return skipped(Status::skipped, QStringLiteral("Not read: your selection was the context."));
    if (target->bundleID && SurfaceClassifier::isBrowser(*target->bundleID) && !target->webURL)
        co_return skipped(Status::skipped, QStringLiteral("Not read: the focused field isn't in a web page."));

    const QDateTime started = s_.clock.now();
    std::optional<ScreenReader::Conversation> conversation = co_await s_.screenReader.read(*target->element);
    if (token.isCancelled())
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

QCoro::Task<> ContextReader::pack(ConversationRead read, bool editing, CancelToken token) {
    const std::optional<QString> selection = editing || !target_ ? std::nullopt : target_->selectedText;
    QCoro::Task<std::optional<PackedContext>> packing = s_.contextPacker.pack(selection, read.conversation);
    std::optional<PackedContext> packed = co_await packing;
    if (token.isCancelled())
        co_return;
    packedContext_ = std::move(packed);
    if (packedContext_)
        Log::context.info(
            QStringLiteral("Context from %{public}s: %{public}ld chars, %{public}ld redactions, about %{public}ld messages"),
            {sourceName(packedContext_->source), qint64(packedContext_->text.size()), qint64(packedContext_->redactions),
             qint64(ConversationStats::estimatedMessages(packedContext_->text))});
}

std::optional<QString> ContextReader::matchPerson() {
    const Surface surface = this->surface();
    partner_.reset();
    if (surface == Surface::chat && target_ && target_->windowTitle) {
        if (const std::optional<RegexMatch> match = MemoryDetector::directMessageTitle().firstMatch(*target_->windowTitle))
            partner_ = match->captured(*target_->windowTitle, 1);
    }
    addressed_ = packedContext_ ? MemoryDetector::recipient(packedContext_->text, ownNames(), packedContext_->fieldOffset)
                                : std::nullopt;
    const std::optional<Person> matched = personForReply(surface, target_ ? target_->windowTitle : std::nullopt);
    if (!personPicked_)
        personID_ = matched ? std::optional<QUuid>(matched->id) : std::nullopt;

    const std::optional<Person> chosen = person();
    const bool sameCard = (chosen ? std::optional<QUuid>(chosen->id) : std::nullopt) ==
                          (matched ? std::optional<QUuid>(matched->id) : std::nullopt);
    offersPersonChoice_ = !(sameCard && !packedContext_ && surface == Surface::other && !partner_);
    if (chosen)
        Log::memory.info(QStringLiteral("Person card matched (%{public}ld commitments)"),
                         {qint64(s_.memory.commitments(chosen->id).size())});
    if (addressed_)
        Log::memory.info(QStringLiteral("Reply is %{public}s"),
                         {addressed_->followingUp ? QStringLiteral("a follow-up to the other person")
                                                  : QStringLiteral("to the last message's author")});
    return matched ? std::optional<QString>(matched->name) : std::nullopt;
}

void ContextReader::pickPerson(const std::optional<QUuid>& id) {
    personID_ = id;
    personPicked_ = true;
}

std::optional<Person> ContextReader::person() const {
    return s_.memory.person(personID_);
}

std::optional<QString> ContextReader::personBadge() const {
    if (const std::optional<Person> chosen = person())
        return chosen->name;
    if (addressed_ && !personPicked_)
        return addressed_->name;
    return std::nullopt;
}

std::vector<PersonChoice> ContextReader::personChoices() const {
    std::vector<PersonChoice> choices;
    for (const Person& each : s_.memory.people())
        choices.push_back({each.id, each.name});
    return choices;
}

QStringList ContextReader::ownNames() const {
    QStringList names;
    for (const QString& name : {s_.style.resolvedName(), s_.style.resolvedSignName(), s_.style.profile().name})
        if (!name.trimmed().isEmpty())
            names.append(name);
    return names;
}

std::optional<Person> ContextReader::personForReply(Surface surface, const std::optional<QString>& title) const {
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

std::optional<QString> ContextReader::replyAddressee() const {
    if (personPicked_) {
        if (const std::optional<Person> chosen = person())
            return chosen->name;
        return std::nullopt;
    }
    return addressed_ ? std::optional<QString>(addressed_->name) : std::nullopt;
}

DraftInput ContextReader::input(const QString& intent, const QString& detectedLanguage, bool withContext,
                                bool editing) const {
    DraftInput input;
    input.intent = intent;
    input.surface = surface();
    if (target_) {
        input.appName = target_->appName;
        if (input.surface != Surface::other)
            input.windowTitle = target_->windowTitle;
    }
    input.userName = s_.style.resolvedName();
    if (withContext)
        input.context = packedContext_;
    input.style = s_.style.profile();
    if (const std::optional<Person> chosen = person())
        input.person = s_.memory.card(*chosen);
    if (editing)
        input.edit = editRequest_;
    const QString chosen = ReplyLanguage::codeMatching(s_.settings.speechLocaleID()).value_or(QStringLiteral("en"));
    if (const std::optional<ReplyLanguage> row = ReplyLanguage::withCode(chosen))
        input.spokenLanguage = row->name;
    else if (const std::optional<ReplyLanguage> detected = ReplyLanguage::withCode(detectedLanguage))
        input.spokenLanguage = detected->name;
    input.addressee = replyAddressee();
    input.followingUp = addressed_ && addressed_->followingUp;
    input.ownAlias = addressed_ ? addressed_->appearedAs : std::nullopt;
    return input;
}

} // namespace lumeno
