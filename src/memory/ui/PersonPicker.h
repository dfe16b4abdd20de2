#pragma once

#include <QToolButton>
#include <QUuid>

#include <functional>
#include <optional>

class QMenu;

namespace lumeno {

class MemoryStore;

// The person a commitment or pin belongs to, as a compact menu: "No person", then every stored person by
// name. It only reports the choice; its host stores it.
class PersonPicker : public QToolButton {
    Q_OBJECT
public:
    PersonPicker(MemoryStore& memory, std::optional<QUuid> personID, QWidget* parent = nullptr);

    void setPersonID(const std::optional<QUuid>& personID);
    const std::optional<QUuid>& personID() const { return personID_; }
    QMenu* choices() const { return menu_; }

    std::function<void(const std::optional<QUuid>&)> onChange = [](const std::optional<QUuid>&) {};

private:
    // The label and the menu follow the store: a person renamed or deleted elsewhere shows at once.
    void refresh();
    void rebuildMenu();

    MemoryStore& memory_;
    std::optional<QUuid> personID_;
    QMenu* menu_;
};

} // namespace lumeno
