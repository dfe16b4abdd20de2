#include "app/ListeningDiagnostics.h"

#include "app/ContextReader.h"
#include "drafting/StyleStore.h"
#include "memory/MemoryStore.h"
#include "overlay/ListeningDebug.h"

namespace lumeno {

void ListeningDiagnostics::show(const ContextReader& context, bool contextEnabled, const std::optional<QString>& note,
                                bool editing) {
    panel_.show(person(context), thread(context, contextEnabled, note), other(context, editing));
}

void ListeningDiagnostics::hide() {
    if (panel_.isVisible())
        panel_.hide();
}

QString ListeningDiagnostics::person(const ContextReader& context) const {
    const std::optional<Person> person = context.person();
    if (const std::optional<MemoryDetector::Addressed>& addressed = context.addressed()) {
        QString text = (addressed->followingUp ? QStringLiteral("Follow-up to ") : QStringLiteral("Writing to ")) +
                       addressed->name;
        if (addressed->email)
            text += QStringLiteral(" <") + *addressed->email + QStringLiteral(">");
        text += person ? QStringLiteral("\nPerson card: ") + person->name : QStringLiteral("\nNo person card");
        if (addressed->appearedAs)
            text += QStringLiteral("\nIn this thread you appear as ") + *addressed->appearedAs + QStringLiteral(".");
        return text;
    }
    if (person)
        return QStringLiteral("Person card: ") + person->name;
    return context.partner().value_or(QStringLiteral("No person"));
}

QString ListeningDiagnostics::thread(const ContextReader& context, bool contextEnabled,
                                     const std::optional<QString>& note) {
    const std::optional<PackedContext>& packed = context.packedContext();
    if (!contextEnabled) {
        if (packed && !packed->text.isEmpty())
            return QStringLiteral("Context is off, so this thread will not be packed.\n\n") + packed->text;
        return QStringLiteral("Context is off. No thread will be packed.");
    }
    if (!packed)
        return note.value_or(QStringLiteral("Reading…"));
    QString label;
    const bool trimmed = packed->truncated;
    switch (packed->source) {
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
    return label + QStringLiteral("\n\n") + packed->text;
}

QString ListeningDiagnostics::other(const ContextReader& context, bool editing) const {
    QStringList lines;
    const std::optional<FocusSnapshot>& target = context.target();
    if (target && !target->appName.isEmpty())
        lines.append(QStringLiteral("App: ") + target->appName);
    if (target && target->windowTitle && !target->windowTitle->isEmpty())
        lines.append(QStringLiteral("Window: ") + *target->windowTitle);
    lines.append(QStringLiteral("Surface: ") + rawValue(context.surface()));
    lines.append(QStringLiteral("I am ") + style_.resolvedName() + QStringLiteral("."));
    lines.append(style_.profile().knobsSummary());
    if (const std::optional<EditRequest>& request = context.editRequest(); editing && request)
        lines.append((request->scope == EditRequest::Scope::selection ? QStringLiteral("Selection")
                                                                      : QStringLiteral("Whole message")) +
                     QStringLiteral(" being edited:\n") + request->original);
    if (const std::optional<Person> person = context.person())
        lines.append(memory_.card(*person).rendered());
    return lines.join(QLatin1Char('\n'));
}

} // namespace lumeno
