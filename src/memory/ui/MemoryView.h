#pragma once

#include "support/Scheduler.h"

#include <QCoroTask>
#include <QUuid>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace lumeno {

class CommitmentList;
class ExportLocationChooser;
class MemoryStore;
class PeoplePane;
class PinList;
class SegmentedPicker;
struct MemoryData;

// Everything Lumeno remembers, to see, search, edit, export and wipe: a section switch with live counts and
// a search field on top, the chosen section in the middle, where the file lives and the Export and Wipe
// buttons at the bottom. It redraws whenever memory changes, whoever changed it, and at every midnight,
// when due dates turn overdue by themselves.
class MemoryView : public QWidget {
    Q_OBJECT
public:
    enum class Section { commitments, people, pins };

    MemoryView(MemoryStore& memory, ExportLocationChooser& exportChooser, Scheduler& scheduler,
               QWidget* parent = nullptr);
    ~MemoryView() override;

    Section section() const;
    void setSection(Section section);
    QString query() const;
    std::optional<QUuid> selectedPerson() const;

    // Saves what is typed and not saved yet: the chosen person's card as Save would, and a commitment or
    // pin text as leaving its field would. Closing the window keeps such edits in it; quitting saves them.
    void keepPendingEdits();

    // "This removes 1 person, 0 commitments and 3 pins from this computer. …", counted over the whole store.
    static QString wipeMessage(const MemoryData& data);

private:
    QWidget* header();
    QWidget* footer();
    void refresh();
    void refreshAtNextMidnight();
    QCoro::Task<> exportMemory();
    void confirmWipe();
    QCoro::Task<> wipeEverything();
    // An alert titled `title` whose text is `message` as it stands.
    void showFailure(const QString& objectName, const QString& title, const QString& message);

    MemoryStore& memory_;
    ExportLocationChooser& exportChooser_;
    Scheduler& scheduler_;
    std::optional<Scheduler::TimerId> midnight_;
    SegmentedPicker* sections_ = nullptr;
    QLineEdit* search_ = nullptr;
    QStackedWidget* content_ = nullptr;
    CommitmentList* commitments_ = nullptr;
    PeoplePane* people_ = nullptr;
    PinList* pins_ = nullptr;
    QPushButton* wipe_ = nullptr;
};

} // namespace lumeno
