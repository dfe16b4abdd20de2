#include "memory/ui/PersonPicker.h"

#include "memory/MemoryStore.h"
#include "ui/MenuText.h"
#include "memory/ui/SymbolIcon.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QMenu>

namespace lumeno {

PersonPicker::PersonPicker(MemoryStore& memory, std::optional<QUuid> personID, QWidget* parent)
    : QToolButton(parent), memory_(memory), personID_(std::move(personID)), menu_(new QMenu(this)) {
    setObjectName(QStringLiteral("personPicker"));
    menu_->setObjectName(QStringLiteral("personChoices"));
    setMenu(menu_);
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAutoRaise(true);
    setFont(TypeScale::font(12));
    setIconSize(QSize(14, 14));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QPalette quiet = palette();
    quiet.setColor(QPalette::ButtonText, hierarchicalColor(palette(), Hierarchy::secondary));
    setPalette(quiet);
    setIcon(symbolIcon(QStringLiteral("person.crop.circle"), 14, Ink::of(Hierarchy::secondary), *this));
    connect(&memory_, &MemoryStore::changed, this, &PersonPicker::refresh);
    connect(menu_, &QMenu::aboutToShow, this, &PersonPicker::rebuildMenu);
    rebuildMenu();
    refresh();
}

void PersonPicker::setPersonID(const std::optional<QUuid>& personID) {
    if (personID == personID_)
        return;
    personID_ = personID;
    refresh();
}

void PersonPicker::refresh() {
    const std::optional<Person> person = memory_.person(personID_);
    setText(person ? menuText(person->name) : QStringLiteral("No person"));
}

void PersonPicker::rebuildMenu() {
    menu_->clear();
    menu_->addAction(QStringLiteral("No person"), this, [this] { onChange(std::nullopt); });
    const QList<Person> people = memory_.people();
    if (!people.isEmpty())
        menu_->addSeparator();
    for (const Person& person : people) {
        const QUuid id = person.id;
        menu_->addAction(menuText(person.name), this, [this, id] { onChange(id); });
    }
}

} // namespace lumeno
