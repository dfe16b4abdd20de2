#include "memory/ui/PersonEditor.h"

#include "memory/MemoryStore.h"
#include "memory/ui/Destructive.h"
#include "ui/MenuText.h"
#include "support/Text.h"
#include "ui/Hierarchy.h"
#include "ui/SettingsSection.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/TypeScale.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumeno {

namespace {

QString joinedAliases(const QStringList& aliases) {
    return aliases.join(QStringLiteral(", "));
}

} // namespace

PersonEditor::PersonEditor(MemoryStore& memory, const Person& person, QWidget* parent)
    : QWidget(parent), memory_(memory), person_(person) {
    setObjectName(QStringLiteral("personEditor"));

    auto* form = new QWidget;
    auto* formLayout = new QVBoxLayout(form);
    formLayout->setContentsMargins(20, 16, 20, 16);
    formLayout->setSpacing(16);
    formLayout->addWidget(fieldsGroup());

    commitmentsGroup_ = new SettingsSection(QStringLiteral("Commitments"), form);
    formLayout->addWidget(commitmentsGroup_);
    pinsGroup_ = new SettingsSection(QStringLiteral("Pins"), form);
    formLayout->addWidget(pinsGroup_);
    formLayout->addStretch();

    auto* scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(form);
    // The buttons stay in view under the scrolling form, however long it grows.
    auto* buttons = buttonsGroup();
    buttons->setContentsMargins(20, 0, 20, 16);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroller, 1);
    layout->addWidget(buttons);

    connect(&memory_, &MemoryStore::changed, this, &PersonEditor::refresh);
    load();
    refresh();
}

QWidget* PersonEditor::fieldsGroup() {
    auto* group = new SettingsSection({});
    group->setFooter(QStringLiteral(
        "Sent with a draft only when this person is matched or picked for it. Secrets are stripped when saved."));
    name_ = new QLineEdit(group);
    name_->setObjectName(QStringLiteral("name"));
    name_->setAccessibleName(QStringLiteral("Name"));
    aliases_ = new QLineEdit(group);
    aliases_->setObjectName(QStringLiteral("aliases"));
    aliases_->setAccessibleName(QStringLiteral("Emails and handles"));
    aliases_->setPlaceholderText(QStringLiteral("anna@example.com, @Anna"));
    group->addRow(QStringLiteral("Name"), name_);
    group->addRow(QStringLiteral("Emails and handles"), aliases_);

    notes_ = new QPlainTextEdit(group);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setAccessibleName(QStringLiteral("Notes"));
    notes_->setFont(TypeScale::font(13));
    // Room for a few lines; longer notes scroll inside the editor rather than pushing the buttons away.
    notes_->setMinimumHeight(70);
    notes_->setMaximumHeight(110);
    notes_->setFrameShape(QFrame::NoFrame);
    QColor well = hierarchicalColor(palette(), Hierarchy::quaternary);
    well.setAlphaF(well.alphaF() * 0.4);
    notes_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; border-radius: 6px; padding: 4px; }")
                              .arg(well.name(QColor::HexArgb)));
    auto* notesRow = new QWidget(group);
    auto* notesStack = new QVBoxLayout(notesRow);
    notesStack->setContentsMargins(0, 0, 0, 0);
    notesStack->setSpacing(4);
    notesStack->addWidget(new TextLabel(QStringLiteral("Notes"), notesRow));
    notesStack->addWidget(notes_);
    group->addRow(notesRow);

    for (QLineEdit* field : {name_, aliases_}) {
        connect(field, &QLineEdit::textChanged, this, &PersonEditor::updateSaveButton);
        connect(field, &QLineEdit::returnPressed, this, &PersonEditor::save);
    }
    connect(notes_, &QPlainTextEdit::textChanged, this, &PersonEditor::updateSaveButton);
    return group;
}

QWidget* PersonEditor::buttonsGroup() {
    auto* group = new SettingsSection({});
    save_ = new QPushButton(QStringLiteral("Save"), group);
    save_->setObjectName(QStringLiteral("save"));
    save_->setDefault(true);
    merge_ = new QToolButton(group);
    merge_->setObjectName(QStringLiteral("mergeInto"));
    merge_->setText(QStringLiteral("Merge Into\u2026"));
    merge_->setToolTip(QStringLiteral(
        "Combine this card with another one: names, emails, notes, commitments and pins move over."));
    merge_->setPopupMode(QToolButton::InstantPopup);
    merge_->setMenu(new QMenu(merge_));
    merge_->menu()->setObjectName(QStringLiteral("mergeChoices"));
    delete_ = new QPushButton(QStringLiteral("Delete\u2026"), group);
    delete_->setObjectName(QStringLiteral("delete"));
    markDestructive(*delete_);
    auto* buttons = new QWidget(group);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(save_);
    row->addWidget(merge_);
    row->addStretch();
    row->addWidget(delete_);
    group->addRow(buttons);

    connect(save_, &QPushButton::clicked, this, &PersonEditor::save);
    connect(delete_, &QPushButton::clicked, this, &PersonEditor::confirmDelete);
    return group;
}

QStringList PersonEditor::split(const QString& aliases) {
    QStringList pieces;
    QString piece;
    const auto finishPiece = [&] {
        const QString trimmed = Text::trimmedHorizontal(piece);
        if (!trimmed.isEmpty())
            pieces.append(trimmed);
        piece.clear();
    };
    for (const QChar c : aliases) {
        if (c == QLatin1Char(',') || c == QLatin1Char('\n'))
            finishPiece();
        else
            piece.append(c);
    }
    finishPiece();
    return pieces;
}

bool PersonEditor::changed() const {
    return name_->text() != person_.name || split(aliases_->text()) != person_.aliases
        || notes_->toPlainText() != person_.notes;
}

void PersonEditor::save() {
    if (!changed() || Text::trimmedHorizontal(name_->text()).isEmpty())
        return;
    Person edited = person_;
    edited.name = name_->text();
    edited.aliases = split(aliases_->text());
    edited.notes = notes_->toPlainText();
    memory_.updatePerson(edited);
    if (const std::optional<Person> stored = memory_.person(person_.id)) {
        person_ = *stored;
        load();
    }
}

void PersonEditor::load() {
    name_->setText(person_.name);
    aliases_->setText(joinedAliases(person_.aliases));
    // A long name or list of addresses opens at its beginning, not scrolled to its end.
    name_->setCursorPosition(0);
    aliases_->setCursorPosition(0);
    notes_->setPlainText(person_.notes);
    updateSaveButton();
}

void PersonEditor::updateSaveButton() {
    save_->setEnabled(changed() && !Text::trimmedHorizontal(name_->text()).isEmpty());
}

void PersonEditor::refresh() {
    const std::optional<Person> stored = memory_.person(person_.id);
    if (!stored)
        return; // the pane replaces an editor whose card is gone
    person_ = *stored;

    QList<std::pair<QString, bool>> commitments;
    for (const Commitment& commitment : memory_.commitments(person_.id))
        commitments.append({commitment.text, commitment.done});
    fillRecords(*commitmentsGroup_, commitments, QStringLiteral("circle"),
                QStringLiteral("checkmark.circle"));
    QList<std::pair<QString, bool>> pins;
    for (const Pin& pin : memory_.pins(person_.id))
        pins.append({pin.text, false});
    fillRecords(*pinsGroup_, pins, QStringLiteral("pin"), QStringLiteral("pin"));

    QMenu* choices = merge_->menu();
    choices->clear();
    for (const Person& other : memory_.people()) {
        if (other.id == person_.id)
            continue;
        const QUuid target = other.id;
        choices->addAction(menuText(other.name), this, [this, target] { mergeInto(target); });
    }
    merge_->setVisible(!choices->isEmpty());
    updateSaveButton();
}

void PersonEditor::fillRecords(SettingsSection& group, const QList<std::pair<QString, bool>>& lines,
                               const QString& symbolIfOpen, const QString& symbolIfDone) {
    group.clearRows();
    for (const auto& [text, done] : lines) {
        const Ink ink = Ink::of(done ? Hierarchy::secondary : Hierarchy::primary);
        auto* line = new QWidget(&group);
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(8);
        layout->addWidget(new SymbolView(done ? symbolIfDone : symbolIfOpen, 13, ink, line));
        auto* label = new QLabel(text, line);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        QPalette look = label->palette();
        look.setColor(QPalette::WindowText, ink.resolve(palette()));
        label->setPalette(look);
        layout->addWidget(label, 1);
        group.addRow(line);
    }
    group.setVisible(!lines.isEmpty());
}

void PersonEditor::mergeInto(const QUuid& target) {
    save();
    memory_.merge(person_.id, target);
    onDelete();
}

void PersonEditor::confirmDelete() {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Delete %1?").arg(person_.name),
                                QStringLiteral("Delete %1?").arg(person_.name), QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("confirmDeletePerson"));
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(QStringLiteral("Their commitments and pins stay in Memory, without a person."));
    QPushButton* remove = box->addButton(QStringLiteral("Delete"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QUuid id = person_.id;
    connect(box, &QMessageBox::buttonClicked, this, [this, remove, id](QAbstractButton* clicked) {
        if (clicked != remove)
            return;
        memory_.deletePerson(id);
        onDelete();
    });
    box->open();
}

} // namespace lumeno
