// The diagnostics panel shown while listening, only while the user has draft details switched on.
#include "app/ReplyLoop.h"

#include "drafting/StyleStore.h"
#include "foundation/SettingsStore.h"
#include "memory/MemoryStore.h"
#include "overlay/CaptureOverlay.h"
#include "overlay/ListeningDebug.h"

namespace lumeno {

void ReplyLoop::refreshListeningDebug() {
    if (s_.settings.showsDraftDetails() && phase_.isListening())
        s_.listeningDebug.show(debugPerson(), debugThread(), debugOther());
    else
        hideListeningDebug();
}

void ReplyLoop::hideListeningDebug() {
    if (s_.listeningDebug.isVisible())
        s_.listeningDebug.hide();
}

QString ReplyLoop::debugPerson() const {
    const std::optional<Person> person = s_.memory.person(personID_);
    if (addressed_) {
        QString text = (addressed_->followingUp ? QStringLiteral("Follow-up to ") : QStringLiteral("Writing to ")) +
                       addressed_->name;
        if (addressed_->email)
            text += QStringLiteral(" <") + *addressed_->email + QStringLiteral(">");
        text += person ? QStringLiteral("\nPerson card: ") + person->name : QStringLiteral("\nNo person card");
        if (addressed_->appearedAs)
            text += QStringLiteral("\nIn this thread you appear as ") + *addressed_->appearedAs + QStringLiteral(".");
        return text;
    }
    if (person)
        return QStringLiteral("Person card: ") + person->name;
    return partner_.value_or(QStringLiteral("No person"));
}

QString ReplyLoop::debugThread() const {
    if (!s_.overlay.model().contextEnabled()) {
        if (packedContext_ && !packedContext_->text.isEmpty())
            return QStringLiteral("Context is off, so this thread will not be packed.\n\n") + packedContext_->text;
        return QStringLiteral("Context is off. No thread will be packed.");
    }
    if (!packedContext_) {
        return recorder_.conversationNote().value_or(QStringLiteral("Reading…"));
    }
    QString label;
    const bool trimmed = packedContext_->truncated;
    switch (packedContext_->source) {
    case PackedContext::Source::selection:
        label = trimmed ? QStringLiteral("I selected it; long, trimmed in the middle") : QStringLiteral("I selected it");
        break;
    case PackedContext::Source::screen:
        label = QStringLiteral("the conversation on my screen around where I'm typing");
        if (trimmed)
            label += QStringLiteral("; only the part nearest my message");
        break;
    case PackedContext::Source::clipboard:
        label = trimmed ? QStringLiteral("I copied it; long, trimmed in the middle") : QStringLiteral("I copied it");
        break;
    }
    return label + QStringLiteral("\n\n") + packedContext_->text;
}

QString ReplyLoop::debugOther() const {
    QStringList lines;
    if (target_ && !target_->appName.isEmpty())
        lines.append(QStringLiteral("App: ") + target_->appName);
    if (target_ && target_->windowTitle && !target_->windowTitle->isEmpty())
        lines.append(QStringLiteral("Window: ") + *target_->windowTitle);
    lines.append(QStringLiteral("Surface: ") + rawValue(targetSurface()));
    lines.append(QStringLiteral("I am ") + s_.style.resolvedName() + QStringLiteral("."));
    lines.append(s_.style.profile().knobsSummary());
    if (editing_ && editRequest_)
        lines.append((editRequest_->scope == EditRequest::Scope::selection ? QStringLiteral("Selection")
                                                                            : QStringLiteral("Whole message")) +
                     QStringLiteral(" being edited:\n") + editRequest_->original);
    if (const std::optional<Person> person = s_.memory.person(personID_))
        lines.append(s_.memory.card(*person).rendered());
    return lines.join(QLatin1Char('\n'));
}

} // namespace lumeno
