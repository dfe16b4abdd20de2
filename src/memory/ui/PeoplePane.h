#pragma once

#include "memory/Person.h"
#include "memory/ui/EmptyMemory.h"
#include "memory/ui/PersonEditor.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QListWidget;
class QStackedLayout;
class QToolButton;

namespace lumeno {

class MemoryStore;

// The People section: the person cards on the left with "Add Person" under them, and the chosen card's
// editor (or a panel saying there is nothing to pick) on the right. The selection is the window's: it
// survives switching sections.
class PeoplePane : public QWidget {
    Q_OBJECT
public:
    explicit PeoplePane(MemoryStore& memory, QWidget* parent = nullptr);

    // The people to list, in the order given (the search result).
    void setPeople(const QList<Person>& people);
    const std::optional<QUuid>& selection() const { return selection_; }
    void setSelection(const std::optional<QUuid>& selection);

    PersonEditor* editor() const { return editor_; }
    EmptyMemory* emptyPanel() const { return empty_; }
    QListWidget* list() const { return list_; }

    // The second line of a list row: the first alias and the number of open commitments, as far as there
    // are any, joined by " · ".
    static QString details(const Person& person, const MemoryStore& memory);

private:
    void addPerson();
    void fillList();
    // Highlights the selected person's row, or none when that person is not listed.
    void markSelected();
    void showSelected();

    MemoryStore& memory_;
    QList<Person> people_;
    std::optional<QUuid> selection_;
    QListWidget* list_;
    QToolButton* add_;
    QStackedLayout* right_;
    EmptyMemory* empty_;
    QPointer<PersonEditor> editor_;
};

} // namespace lumeno
