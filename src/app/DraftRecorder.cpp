#include "app/DraftRecorder.h"

#include "details/DraftDetailsStore.h"
#include "drafting/DraftInput.h"
#include "drafting/DraftResult.h"
#include "drafting/PromptBuilder.h"
#include "drafting/StyleEngine.h"
#include "foundation/SettingsStore.h"
#include "foundation/SurfaceClassifier.h"
#include "screen/ContextPacker.h"
#include "screen/ConversationStats.h"
#include "support/Clock.h"

#include <QUrl>

namespace lumeno {

namespace {

using Status = DraftDetails::Conversation::Status;

QString recordedSource(PackedContext::Source source) {
    switch (source) {
    case PackedContext::Source::selection:
        return QStringLiteral("your selection");
    case PackedContext::Source::screen:
        return QStringLiteral("read from the screen");
    case PackedContext::Source::clipboard:
        break;
    }
    return QStringLiteral("text you copied");
}

QString editability(FocusSnapshot::Editability editability) {
    switch (editability) {
    case FocusSnapshot::Editability::editable:
        return QStringLiteral("editable");
    case FocusSnapshot::Editability::readOnly:
        return QStringLiteral("read-only");
    case FocusSnapshot::Editability::unknown:
        break;
    }
    return QStringLiteral("editability unknown");
}

} // namespace

DraftRecorder::DraftRecorder(DraftDetailsStore& store, const SettingsStore& settings, const Clock& clock)
    : store_(store), settings_(settings), clock_(clock) {}

void DraftRecorder::open(DraftDetails::Kind kind) {
    record_.reset();
    if (settings_.showsDraftDetails())
        record_ = DraftDetails::started(kind, clock_);
}

void DraftRecorder::discard() {
    record_.reset();
}

void DraftRecorder::reopenLast() {
    if (!settings_.showsDraftDetails() || !lastRecordID_)
        return;
    for (const DraftDetails& earlier : store_.sessions()) {
        if (earlier.id != *lastRecordID_)
            continue;
        DraftDetails again = earlier;
        again.id = QUuid::createUuid();
        again.date = clock_.now();
        again.result.reset();
        again.outcome.reset();
        again.lineBreaks.reset();
        record_ = again;
        return;
    }
}

void DraftRecorder::switchedToEdit() {
    if (record_)
        record_->kind = DraftDetails::Kind::edit;
}

void DraftRecorder::readField(const FocusSnapshot& snapshot, int milliseconds) {
    if (!record_)
        return;
    DraftDetails::Field field;
    field.app = snapshot.appName;
    field.bundleID = snapshot.bundleID;
    field.surface = SurfaceClassifier::classify(snapshot.bundleID, snapshot.windowTitle, snapshot.webURL);
    // The record is read by people: the role in the desktop's words where it has them.
    field.role = snapshot.roleName ? snapshot.roleName : snapshot.role;
    field.editable = editability(snapshot.editability);
    if (snapshot.windowTitle)
        field.windowTitle = PromptBuilder::windowTitle(*snapshot.windowTitle);
    if (snapshot.webURL) {
        const QUrl url(*snapshot.webURL);
        if (url.isValid() && !url.host().isEmpty())
            field.webHost = url.host();
    }
    field.focusMilliseconds = milliseconds;
    record_->field = field;
}

void DraftRecorder::readConversation(const ConversationRead& read, const std::optional<PackedContext>& packed) {
    if (!record_)
        return;
    DraftDetails::Conversation conversation;
    if (packed) {
        conversation.status = Status::found;
        conversation.source = recordedSource(packed->source);
        conversation.characters = packed->text.size();
        conversation.messages = ConversationStats::estimatedMessages(packed->text);
        conversation.truncated = packed->truncated;
        conversation.redactions = packed->redactions;
        conversation.text = packed->text;
    } else if (read.skipped && read.note) {
        conversation.status = *read.skipped;
        conversation.note = *read.note + QStringLiteral(" Nothing copied recently either, so no thread was sent.");
    } else {
        conversation.status = Status::tooLittle;
        conversation.note = QStringLiteral("Read the screen but found less than %1 characters around the field, so "
                                           "no thread was sent.")
                                .arg(ContextPacker::minimumScreenCharacters);
    }
    conversation.readMilliseconds = read.milliseconds;
    if (read.conversation) {
        conversation.elements = read.conversation->nodes;
        conversation.levels = read.conversation->levels;
    }
    conversation.sent = true;
    record_->conversation = conversation;
}

void DraftRecorder::foundRecipient(const std::optional<MemoryDetector::Addressed>& addressed,
                                   const std::optional<QString>& matched, const std::optional<QString>& partner,
                                   Surface surface) {
    if (!record_)
        return;
    DraftDetails::Recipient recipient;
    if (!addressed) {
        if (matched) {
            recipient.name = matched;
            recipient.how = QStringLiteral("Matched your Memory card for ") + *matched +
                            QStringLiteral(" in the window title or thread");
        } else if (partner) {
            recipient.name = partner;
            recipient.how = QStringLiteral("Chat partner from the window title; no Memory card for them");
        } else if (surface == Surface::other) {
            recipient.how = QStringLiteral("Not looked for: Lumeno doesn't know this app as email or chat");
        } else {
            recipient.how = QStringLiteral("Not found in the window title, the thread or Memory");
        }
    } else {
        QString how = addressed->followingUp
                          ? QStringLiteral("The last message is yours, so this follows up with ") + addressed->name +
                                QStringLiteral(" from the To field.")
                          : QStringLiteral("The last message is from ") + addressed->name + QStringLiteral(".");
        if (addressed->appearedAs)
            how += QStringLiteral(" You appear in the thread as ") + *addressed->appearedAs + QStringLiteral(".");
        if (matched)
            how += QStringLiteral(" Memory card: ") + *matched + QStringLiteral(".");
        recipient.name = matched ? *matched : addressed->name;
        recipient.how = how;
    }
    record_->recipient = recipient;
}

void DraftRecorder::heard(const QString& dictation, double seconds) {
    if (!record_)
        return;
    record_->dictation = dictation;
    record_->speech = QStringLiteral("This computer, ") + QString::number(seconds, 'f', 1) + QStringLiteral(" s");
}

void DraftRecorder::builtInput(const DraftInput& input, bool personPicked, const QString& signName) {
    if (!record_)
        return;
    const QStringList samples = StyleEngine::chosenSamples(input.style);
    const qint64 learned = std::min<qint64>(samples.size(), input.style.learnedExamples.size());
    record_->style = DraftDetails::Style{input.style.knobsSummary(), samples, learned, samples.size() - learned};
    record_->userName = input.userName;
    record_->signName = signName;

    if (!input.person) {
        if (personPicked)
            record_->recipient = DraftDetails::Recipient{std::nullopt, QStringLiteral("You chose No Person Card"), std::nullopt};
    } else if (!personPicked && record_->recipient) {
        record_->recipient->card = input.person->rendered();
    } else {
        record_->recipient = DraftDetails::Recipient{input.person->name, QStringLiteral("Picked by you in the overlay"),
                                                     input.person->rendered()};
    }
    if (record_->conversation) {
        if (input.context)
            record_->conversation->sent = true;
        else if (record_->conversation->status == Status::found)
            record_->conversation->sent = false;
    }
    if (input.edit) {
        record_->kind = DraftDetails::Kind::edit;
        record_->edit = DraftDetails::Edit{input.edit->scope, input.intent, input.edit->original};
    }
}

void DraftRecorder::drafted(const DraftResult& result) {
    if (!record_)
        return;
    record_->result = DraftDetails::Result{rawValue(result.provider) + QLatin1Char('/') + result.model,
                                           result.seconds,
                                           result.modelText,
                                           result.text,
                                           result.prompt.system,
                                           result.prompt.user};
}

void DraftRecorder::pasted(const std::optional<FieldInserter::LineBreaks>& breaks) {
    if (record_)
        record_->lineBreaks = lineBreaksSummary(breaks);
}

void DraftRecorder::commit(const QString& outcome) {
    if (!record_)
        return;
    record_->outcome = outcome;
    store_.record(*record_, settings_.savesDraftDetails());
    lastRecordID_ = record_->id;
    record_.reset();
}

void DraftRecorder::amendLastOutcome(const QString& outcome) {
    amendLast([&outcome](DraftDetails& record) { record.outcome = outcome; });
}

void DraftRecorder::amendLastLineBreaks(const std::optional<FieldInserter::LineBreaks>& breaks) {
    const std::optional<QString> summary = lineBreaksSummary(breaks);
    amendLast([&summary](DraftDetails& record) { record.lineBreaks = summary; });
}

void DraftRecorder::amendLast(const std::function<void(DraftDetails&)>& change) {
    if (!settings_.showsDraftDetails() || !lastRecordID_)
        return;
    store_.update(*lastRecordID_, settings_.savesDraftDetails(), change);
}

std::optional<QString> DraftRecorder::conversationNote() const {
    if (!record_ || !record_->conversation || record_->conversation->note.isEmpty())
        return std::nullopt;
    return record_->conversation->note;
}

std::optional<QString> DraftRecorder::lineBreaksSummary(const std::optional<FieldInserter::LineBreaks>& breaks) {
    if (!breaks)
        return std::nullopt;
    if (breaks->expected < 1)
        return QStringLiteral("None in this text");
    const QString rich = breaks->rich ? QStringLiteral(" (pasted with an HTML copy for the web editor)") : QString();
    if (breaks->found)
        return QStringLiteral("%1 of %2 arrived in the field").arg(*breaks->found).arg(breaks->expected) + rich;
    return QStringLiteral("%1 sent").arg(breaks->expected) + rich +
           QStringLiteral("; the app's text couldn't be read back to check");
}

} // namespace lumeno
