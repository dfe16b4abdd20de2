#pragma once

#include "memory/Person.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lumeno {

class MemoryStore;
class SettingsSection;

// The form of one person card: name, e-mails and handles, notes, the card's commitments and pins, and
// Save, "Merge Into…" and "Delete…". The fields are the user's until Save: they are filled once, when the
// editor opens, and again from what the store kept after each save.
class PersonEditor : public QWidget {
    Q_OBJECT
public:
    PersonEditor(MemoryStore& memory, const Person& person, QWidget* parent = nullptr);

    const QUuid& personID() const { return person_.id; }
    // Whether the form differs from the stored card.
    bool changed() const;
    void save();

    // The aliases field cut into aliases: at commas and line feeds, each piece trimmed of spaces and tabs,
    // empty pieces dropped; order and duplicates as typed.
    static QStringList split(const QString& aliases);

    // Runs after the card was deleted, or merged into another.
    std::function<void()> onDelete = [] {};

private:
    QWidget* fieldsGroup();
    QWidget* buttonsGroup();
    // Follows the store: the stored card, its commitments and pins, the other cards to merge into.
    void refresh();
    void load();
    void updateSaveButton();
    void fillRecords(SettingsSection& group, const QList<std::pair<QString, bool>>& lines,
                     const QString& symbolIfOpen, const QString& symbolIfDone);
    void mergeInto(const QUuid& target);
    void confirmDelete();

    MemoryStore& memory_;
    Person person_;
    QLineEdit* name_ = nullptr;
    QLineEdit* aliases_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    SettingsSection* commitmentsGroup_ = nullptr;
    SettingsSection* pinsGroup_ = nullptr;
    QPushButton* save_ = nullptr;
    QToolButton* merge_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace lumeno
