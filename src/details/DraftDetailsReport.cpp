#include "details/DraftDetails.h"

#include "details/RecordDateFormat.h"

namespace lumeno {

namespace {

void addEdit(QStringList& lines, const DraftDetails::Edit& edit) {
    lines << QString() << (edit.scope == EditRequest::Scope::selection ? QStringLiteral("EDIT (selected text)")
                                                                        : QStringLiteral("EDIT (whole message)"));
    lines << QStringLiteral("Instruction: ") + edit.instruction;
    lines << QStringLiteral("Text changed:\n") + edit.target;
}

void addField(QStringList& lines, const DraftDetails::Field& field) {
    lines << QString() << QStringLiteral("WHERE");
    lines << QStringLiteral("App: %1 (%2), %3")
                 .arg(field.app, field.bundleID.value_or(QStringLiteral("?")), DraftDetails::surfaceLabel(field.surface));
    lines << QStringLiteral("Field: ") + field.role.value_or(QStringLiteral("none")) + QStringLiteral(", ") +
                 field.editable;
    if (field.windowTitle)
        lines << QStringLiteral("Window title: ") + *field.windowTitle;
    if (field.webHost)
        lines << QStringLiteral("Web page: ") + *field.webHost;
}

void addConversation(QStringList& lines, const DraftDetails::Conversation& conversation) {
    lines << QString() << QStringLiteral("CONVERSATION") << conversation.summary();
    if (conversation.text)
        lines << *conversation.text;
}

void addRecipient(QStringList& lines, const DraftDetails::Recipient& recipient) {
    lines << QString() << QStringLiteral("RECIPIENT");
    lines << (recipient.name ? *recipient.name + QStringLiteral(" · ") + recipient.how : recipient.how);
    if (recipient.card)
        lines << *recipient.card;
}

void addStyle(QStringList& lines, const DraftDetails& details, const DraftDetails::Style& style) {
    lines << QString() << QStringLiteral("STYLE");
    if (details.userName) {
        QString you = QStringLiteral("You: ") + *details.userName;
        if (details.signName)
            you += QStringLiteral(", signs as ") + *details.signName;
        lines << you;
    }
    lines << style.knobs;
    lines << QStringLiteral("%1 samples sent (%2 learned, %3 pasted)")
                 .arg(style.samples.size())
                 .arg(style.learnedCount)
                 .arg(style.pastedCount);
    for (const QString& sample : style.samples)
        lines << QStringLiteral("---\n") + sample;
}

void addResult(QStringList& lines, const DraftDetails& details, const DraftDetails::Result& result) {
    lines << QString() << QStringLiteral("DRAFT (%1, %2 s)").arg(result.model, result.secondsText());
    lines << result.modelText;
    if (result.finalText != result.modelText)
        lines << QStringLiteral("After layout:\n") + result.finalText;
    if (details.lineBreaks)
        lines << QStringLiteral("Line breaks: ") + *details.lineBreaks;
    lines << QString() << QStringLiteral("SYSTEM PROMPT\n") + result.systemPrompt;
    lines << QString() << QStringLiteral("USER PROMPT\n") + result.userPrompt;
}

} // namespace

QString DraftDetails::report() const {
    QStringList lines;
    lines << QStringLiteral("Lumeno %1 · %2")
                 .arg(kind == Kind::edit ? QStringLiteral("edit") : QStringLiteral("draft"),
                      RecordDateFormat::dateAndTime(date));
    if (outcome)
        lines << QStringLiteral("Outcome: ") + *outcome;
    if (edit)
        addEdit(lines, *edit);
    if (field)
        addField(lines, *field);
    if (conversation)
        addConversation(lines, *conversation);
    if (recipient)
        addRecipient(lines, *recipient);
    if (style)
        addStyle(lines, *this, *style);
    if (dictation) {
        lines << QString()
              << (speech ? QStringLiteral("SPEECH (%1)").arg(*speech) : QStringLiteral("SPEECH"));
        lines << *dictation;
    }
    if (result)
        addResult(lines, *this, *result);
    return lines.join(QLatin1Char('\n'));
}

} // namespace lumeno
