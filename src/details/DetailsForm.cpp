#include "details/DetailsForm.h"

#include "ui/SettingsSection.h"
#include "details/LongText.h"
#include "details/RecordDateFormat.h"
#include "support/Text.h"
#include "ui/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumeno {

DetailsForm::DetailsForm(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("detailsForm"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rebuild();
}

void DetailsForm::setDetails(const DraftDetails& details) {
    if (details == details_ && content_)
        return;
    // An amended record (a later fate, such as a copy instead of an insert) keeps the blocks as the user
    // left them; another record starts them afresh.
    if (details.id != details_.id)
        chosenOpen_.clear();
    details_ = details;
    rebuild();
}

LongText* DetailsForm::block(const QString& title, const QString& text, bool startsOpen) {
    const auto chosen = chosenOpen_.find(title);
    auto* added = new LongText(title, text, chosen == chosenOpen_.end() ? startsOpen : chosen->second);
    connect(added, &LongText::expandedByUser, this, [this, title](bool open) { chosenOpen_[title] = open; });
    return added;
}

SettingsSection* DetailsForm::section(const QString& header) {
    auto* added = new SettingsSection(header, content_);
    content_->layout()->addWidget(added);
    return added;
}

void DetailsForm::rebuild() {
    // The form is read-only and small, so a new record simply gets a new form.
    delete takeWidget();
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("detailsContent"));
    auto* layout = new QVBoxLayout(content_);
    layout->setContentsMargins(16, 14, 16, 16);
    layout->setSpacing(16);

    addWhatItKnew();
    addWhenAndHow();
    if (details_.edit)
        addEdit(*details_.edit);
    if (details_.field)
        addField(*details_.field);
    if (details_.conversation)
        addConversation(*details_.conversation);
    if (details_.recipient)
        addRecipient(*details_.recipient);
    if (details_.style)
        addStyle(*details_.style);
    if (details_.dictation)
        addSpeech(*details_.dictation);
    if (details_.result)
        addResult(*details_.result);
    layout->addStretch(1);
    setWidget(content_);
}

void DetailsForm::addWhatItKnew() {
    SettingsSection* known = section(QStringLiteral("What it knew"));
    known->addValueRow(QStringLiteral("Conversation"), details_.conversation ? details_.conversation->summary()
                                                                         : QStringLiteral("Nothing recorded"));
    const std::optional<DraftDetails::Recipient>& recipient = details_.recipient;
    known->addValueRow(QStringLiteral("Person"),
                  recipient && recipient->name ? *recipient->name : QStringLiteral("Nobody matched"));
    if (recipient && recipient->card && !recipient->card->isEmpty())
        known->addRow(block(QStringLiteral("Memory card"), *recipient->card, true));
    else
        known->addValueRow(QStringLiteral("Memory card"), QStringLiteral("None sent"));
    if (recipient)
        known->addValueRow(QStringLiteral("How the person was chosen"), recipient->how);
}

void DetailsForm::addWhenAndHow() {
    SettingsSection* when = section(QString());
    when->addValueRow(details_.kind == DraftDetails::Kind::edit ? QStringLiteral("Edit") : QStringLiteral("Reply"),
                 RecordDateFormat::dateAndTime(details_.date));
    if (details_.outcome)
        when->addValueRow(QStringLiteral("Outcome"), *details_.outcome);
    auto* buttonLine = new QWidget;
    auto* layout = new QHBoxLayout(buttonLine);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    auto* copy = new QPushButton(QStringLiteral("Copy as Text"), buttonLine);
    copy->setObjectName(QStringLiteral("copyAsText"));
    connect(copy, &QPushButton::clicked, this, [this] { onCopy(details_); });
    layout->addWidget(copy);
    when->addRow(buttonLine);
}

void DetailsForm::addEdit(const DraftDetails::Edit& edit) {
    SettingsSection* editSection = section(QStringLiteral("Edit mode"));
    editSection->addValueRow(QStringLiteral("You said"), edit.instruction);
    editSection->addValueRow(QStringLiteral("Changed"), edit.scope == EditRequest::Scope::selection
                                                       ? QStringLiteral("The selected text")
                                                       : QStringLiteral("The whole message in the field"));
    editSection->addRow(
        block(QStringLiteral("Text it changed (%1 characters)").arg(Text::graphemeCount(edit.target)),
                     edit.target, false));
}

void DetailsForm::addField(const DraftDetails::Field& field) {
    SettingsSection* where = section(QStringLiteral("Where"));
    where->addValueRow(QStringLiteral("App"), field.app);
    where->addValueRow(QStringLiteral("Kind"), DraftDetails::surfaceLabel(field.surface));
    where->addValueRow(QStringLiteral("Field"),
                  field.role.value_or(QStringLiteral("No field")) + QStringLiteral(", ") + field.editable);
    if (field.windowTitle && !field.windowTitle->isEmpty())
        where->addValueRow(QStringLiteral("Window title"), *field.windowTitle);
    if (field.webHost)
        where->addValueRow(QStringLiteral("Web page"), *field.webHost);
    if (field.focusMilliseconds)
        where->addValueRow(QStringLiteral("Read in"), QStringLiteral("%1 ms").arg(*field.focusMilliseconds));
}

void DetailsForm::addConversation(const DraftDetails::Conversation& conversation) {
    SettingsSection* thread = section(QStringLiteral("Thread or chat history"));
    const bool found = conversation.status == DraftDetails::Conversation::Status::found;
    auto* summaryLine = new QWidget;
    auto* layout = new QHBoxLayout(summaryLine);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* icon = new SymbolView(found ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("minus.circle"),
                                13, found ? Ink::fixed(QColor(0x34, 0xa8, 0x53)) : Ink::of(Hierarchy::secondary),
                                summaryLine);
    icon->setObjectName(QStringLiteral("conversationIcon"));
    auto* summary = new QLabel(conversation.summary(), summaryLine);
    summary->setObjectName(QStringLiteral("conversationSummary"));
    summary->setWordWrap(true);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(summary, 1);
    thread->addRow(summaryLine);
    if (conversation.elements && conversation.readMilliseconds)
        thread->addValueRow(QStringLiteral("Screen read"), QStringLiteral("%1 elements, %2 levels up, %3 ms")
                                                          .arg(*conversation.elements)
                                                          .arg(conversation.levels.value_or(0))
                                                          .arg(*conversation.readMilliseconds));
    if (conversation.text)
        thread->addRow(block(QStringLiteral("What was sent"), *conversation.text, true));
}

void DetailsForm::addRecipient(const DraftDetails::Recipient& recipient) {
    SettingsSection* who = section(QStringLiteral("Recipient"));
    who->addValueRow(QStringLiteral("Who"), recipient.name.value_or(QStringLiteral("Not known")));
    who->addValueRow(QStringLiteral("How"), recipient.how);
    if (recipient.card)
        who->addRow(block(QStringLiteral("Memory card sent"), *recipient.card, false));
    else
        who->addValueRow(QStringLiteral("Memory card"), QStringLiteral("None"));
}

void DetailsForm::addStyle(const DraftDetails::Style& style) {
    SettingsSection* you = section(QStringLiteral("You and your style"));
    if (details_.userName) {
        QString name = *details_.userName;
        if (details_.signName)
            name += QStringLiteral(", signs as ") + *details_.signName;
        you->addValueRow(QStringLiteral("Name"), name);
    }
    you->addValueRow(QStringLiteral("Knobs"), style.knobs);
    you->addValueRow(QStringLiteral("Samples sent"), QStringLiteral("%1 (%2 learned, %3 pasted)")
                                                    .arg(style.samples.size())
                                                    .arg(style.learnedCount)
                                                    .arg(style.pastedCount));
    for (qsizetype i = 0; i < style.samples.size(); ++i)
        you->addRow(block(QStringLiteral("Sample %1").arg(i + 1), style.samples[i], false));
}

void DetailsForm::addSpeech(const QString& dictation) {
    SettingsSection* speech = section(QStringLiteral("Speech"));
    if (details_.speech)
        speech->addValueRow(QStringLiteral("Heard by"), *details_.speech);
    const bool edit = details_.kind == DraftDetails::Kind::edit;
    speech->addRow(block(edit ? QStringLiteral("Instruction") : QStringLiteral("Dictation"), dictation, true));
}

void DetailsForm::addResult(const DraftDetails::Result& result) {
    SettingsSection* draft = section(QStringLiteral("Draft"));
    draft->addValueRow(QStringLiteral("Model"),
                  result.model + QStringLiteral(", ") + result.secondsText() + QStringLiteral(" s"));
    const bool laidOut = result.finalText != result.modelText;
    draft->addRow(block(QStringLiteral("What the model wrote"), result.modelText, !laidOut));
    if (laidOut) {
        const QString kindWord = details_.field ? Text::lowercased(DraftDetails::surfaceLabel(details_.field->surface))
                                                : QStringLiteral("message");
        draft->addRow(block(QStringLiteral("After the %1 layout (what was inserted)").arg(kindWord),
                                    result.finalText, true));
    }
    if (details_.lineBreaks)
        draft->addValueRow(QStringLiteral("Line breaks"), *details_.lineBreaks);
    draft->addRow(block(QStringLiteral("System prompt"), result.systemPrompt, false));
    draft->addRow(block(QStringLiteral("User prompt"), result.userPrompt, false));
}

} // namespace lumeno
