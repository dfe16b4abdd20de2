#include "memory/ui/PeoplePane.h"

#include "memory/MemoryStore.h"
#include "memory/ui/PersonEditor.h"
#include "memory/ui/SymbolIcon.h"
#include "ui/ElidedLabel.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumeno {

namespace {

const char* const peopleDetail = "A person card tells Lumeno who you're replying to: their name, emails or handles, "
                                 "and notes. It's used when their name or email shows up in the thread you reply to.";

QFrame* divider(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    setTextHierarchy(*line, Hierarchy::quaternary);
    return line;
}

// A list row: the name as written, and the details line when there is one, each ending in "…" when the
// list is too narrow for it.
QWidget* personRow(const Person& person, const QString& details, QWidget* parent) {
    auto* row = new QWidget(parent);
    row->setObjectName(QStringLiteral("personRow"));
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(10, 5, 10, 5);
    layout->setSpacing(2);
    auto* name = new ElidedLabel(person.name, row);
    name->setObjectName(QStringLiteral("personName"));
    layout->addWidget(name);
    if (!details.isEmpty()) {
        auto* second = new ElidedLabel(details, row, Hierarchy::secondary, TypeScale::caption());
        second->setObjectName(QStringLiteral("personDetails"));
        layout->addWidget(second);
    }
    // Rows sit on the list's selection highlight: let it show through.
    row->setAttribute(Qt::WA_TransparentForMouseEvents);
    return row;
}

} // namespace

PeoplePane::PeoplePane(MemoryStore& memory, QWidget* parent)
    : QWidget(parent)
    , memory_(memory)
    , list_(new QListWidget(this))
    , add_(new QToolButton(this))
    , empty_(new EmptyMemory({QStringLiteral("person.crop.circle"), QStringLiteral("No people yet"),
                              QString::fromUtf8(peopleDetail)},
                             this)) {
    setObjectName(QStringLiteral("peoplePane"));
    list_->setObjectName(QStringLiteral("people"));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A soft accent under the chosen card keeps its two lines readable in their own colours.
    QPalette selection = list_->palette();
    QColor soft = selection.color(QPalette::Highlight);
    soft.setAlphaF(0.22);
    selection.setColor(QPalette::Highlight, soft);
    list_->setPalette(selection);
    add_->setObjectName(QStringLiteral("addPerson"));
    add_->setText(QStringLiteral("Add Person"));
    add_->setIcon(symbolIcon(QStringLiteral("plus"), 14, Ink::of(Hierarchy::primary), *this));
    add_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    add_->setAutoRaise(true);

    auto* addRow = new QHBoxLayout;
    addRow->setContentsMargins(8, 8, 8, 8);
    addRow->addWidget(add_);
    addRow->addStretch();
    auto* left = new QWidget(this);
    left->setFixedWidth(230);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(list_);
    leftLayout->addWidget(divider(QFrame::HLine, left));
    leftLayout->addLayout(addRow);

    auto* rightSide = new QWidget(this);
    right_ = new QStackedLayout(rightSide);
    right_->addWidget(empty_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(left);
    layout->addWidget(divider(QFrame::VLine, this));
    layout->addWidget(rightSide, 1);

    connect(add_, &QToolButton::clicked, this, &PeoplePane::addPerson);
    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            setSelection(item->data(Qt::UserRole).toUuid());
    });
}

void PeoplePane::setPeople(const QList<Person>& people) {
    people_ = people;
    fillList();
    showSelected();
}

void PeoplePane::setSelection(const std::optional<QUuid>& selection) {
    if (selection == selection_)
        return;
    selection_ = selection;
    markSelected();
    showSelected();
}

QString PeoplePane::details(const Person& person, const MemoryStore& memory) {
    QStringList parts;
    if (!person.aliases.isEmpty())
        parts.append(person.aliases.first());
    const QList<Commitment> commitments = memory.commitments(person.id);
    const auto open = std::count_if(commitments.begin(), commitments.end(), [](const Commitment& c) { return !c.done; });
    if (open > 0)
        parts.append(QStringLiteral("%1 open").arg(open));
    return parts.join(QStringLiteral(" \u00b7 "));
}

void PeoplePane::addPerson() {
    const Person added = memory_.addPerson(QStringLiteral("New person"), {}, QString());
    setSelection(added.id);
}

void PeoplePane::fillList() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const Person& person : std::as_const(people_)) {
        auto* item = new QListWidgetItem(list_);
        item->setData(Qt::UserRole, person.id);
        // The row is drawn by its widget; screen readers read the name from the item.
        item->setData(Qt::AccessibleTextRole, person.name);
        QWidget* row = personRow(person, details(person, memory_), list_);
        // The list's width, not the text's, sets the row's: a long name is cut with "…".
        item->setSizeHint(QSize(0, row->sizeHint().height()));
        list_->setItemWidget(item, row);
    }
    markSelected();
}

void PeoplePane::markSelected() {
    // Only the highlight moves: the rows stay, also the one the user is clicking right now.
    const QSignalBlocker quiet(list_);
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        if (item->data(Qt::UserRole).toUuid() == selection_) {
            list_->setCurrentItem(item);
            return;
        }
    }
    list_->setCurrentItem(nullptr);
}

void PeoplePane::showSelected() {
    const std::optional<Person> person = selection_ ? memory_.person(selection_) : std::nullopt;
    if (editor_ && (!person || editor_->personID() != person->id)) {
        // Choosing another card discards this editor with whatever was typed in it.
        right_->removeWidget(editor_);
        editor_->hide();
        editor_->deleteLater();
        editor_ = nullptr;
    }
    if (!person) {
        empty_->setContent({empty_->content().symbol,
                            people_.isEmpty() ? QStringLiteral("No people yet") : QStringLiteral("Pick a person"),
                            empty_->content().detail});
        right_->setCurrentWidget(empty_);
        return;
    }
    if (!editor_) {
        editor_ = new PersonEditor(memory_, *person, right_->parentWidget());
        editor_->onDelete = [this] { setSelection(std::nullopt); };
        right_->addWidget(editor_);
    }
    right_->setCurrentWidget(editor_);
}

} // namespace lumeno
