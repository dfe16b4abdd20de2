#include "details/MemoryPane.h"

#include "ui/SettingsSection.h"
#include "memory/MemoryStore.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QLabel>
#include <QVBoxLayout>

namespace lumeno {

namespace {

QLabel* line(const QString& text, const QFont& font, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

template <typename T>
QStringList texts(const QList<T>& records) {
    QStringList result;
    for (const T& record : records)
        result << record.text;
    return result;
}

QWidget* personEntry(const MemoryStore& memory, const Person& person) {
    auto* entry = new QWidget;
    entry->setObjectName(QStringLiteral("personEntry"));
    auto* layout = new QVBoxLayout(entry);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(3);
    layout->addWidget(line(person.name, TypeScale::headline(), "name", entry));
    if (!person.aliases.isEmpty()) {
        QLabel* aliases = line(person.aliases.join(QStringLiteral(", ")), TypeScale::caption(), "aliases", entry);
        setTextHierarchy(*aliases, Hierarchy::secondary);
        layout->addWidget(aliases);
    }
    if (!person.notes.isEmpty()) {
        QLabel* notes = line(person.notes, TypeScale::font(12), "notes", entry);
        notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(notes);
    }
    QList<Commitment> open = memory.commitments(person.id);
    open.removeIf([](const Commitment& c) { return c.done; });
    if (!open.isEmpty())
        layout->addWidget(line(QStringLiteral("To do: ") + texts(open).join(QStringLiteral("; ")),
                               TypeScale::caption(), "toDo", entry));
    const QList<Pin> pins = memory.pins(person.id);
    if (!pins.isEmpty())
        layout->addWidget(line(QStringLiteral("Pinned: ") + texts(pins).join(QStringLiteral("; ")),
                               TypeScale::caption(), "pinned", entry));
    return entry;
}

} // namespace

MemoryPane::MemoryPane(MemoryStore& memory, QWidget* parent) : QScrollArea(parent), memory_(memory) {
    setObjectName(QStringLiteral("memoryPane"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(&memory_, &MemoryStore::changed, this, &MemoryPane::rebuild);
    rebuild();
}

void MemoryPane::rebuild() {
    delete takeWidget();
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(16);

    const QList<Person> people = memory_.people();
    const QList<Commitment> commitments = memory_.commitments();
    const QList<Pin> pins = memory_.pins();

    auto* memorySection = new SettingsSection(QStringLiteral("Memory"), content);
    memorySection->setObjectName(QStringLiteral("memorySection"));
    if (people.isEmpty() && commitments.isEmpty() && pins.isEmpty()) {
        QLabel* empty = line(QStringLiteral("Nothing saved yet. After a reply, a chip can save a person, a promise or "
                                            "a pin. You can also add them from Memory in the tray menu."),
                             TypeScale::font(12), "nothingSaved", content);
        setTextHierarchy(*empty, Hierarchy::secondary);
        memorySection->addRow(empty);
    }
    for (const Person& person : people)
        memorySection->addRow(personEntry(memory_, person));
    layout->addWidget(memorySection);

    auto* commitmentSection = new SettingsSection(QStringLiteral("Commitments"), content);
    commitmentSection->setObjectName(QStringLiteral("commitmentsSection"));
    for (const Commitment& commitment : commitments)
        if (!commitment.personID && !commitment.done)
            commitmentSection->addRow(line(commitment.text, TypeScale::font(12), "commitment", content));
    auto* pinSection = new SettingsSection(QStringLiteral("Pins"), content);
    pinSection->setObjectName(QStringLiteral("pinsSection"));
    for (const Pin& pin : pins)
        if (!pin.personID)
            pinSection->addRow(line(pin.text, TypeScale::font(12), "pin", content));
    for (SettingsSection* optional : {commitmentSection, pinSection}) {
        if (optional->isEmpty())
            delete optional;
        else
            layout->addWidget(optional);
    }
    layout->addStretch(1);
    setWidget(content);
}

} // namespace lumeno
