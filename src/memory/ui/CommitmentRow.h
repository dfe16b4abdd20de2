#pragma once

#include "memory/Commitment.h"

#include <QWidget>

class QCheckBox;

namespace lumeno {

class DeleteButton;
class DueControl;
class MemoryStore;
class PersonPicker;
class RecordTextField;

// One commitment: the Done box, its text edited in place, its person and due date, and a trash button.
// Every control writes straight to the store; the row shows the record as the store hands it back.
class CommitmentRow : public QWidget {
    Q_OBJECT
public:
    using Record = Commitment;

    CommitmentRow(MemoryStore& memory, const Commitment& commitment, QWidget* parent = nullptr);

    const Commitment& record() const { return commitment_; }
    void setRecord(const Commitment& commitment);

    // Open and due before the end of the local day of `now`: due today counts as overdue already.
    static bool isOverdue(const Commitment& commitment, const QDateTime& now);

private:
    void showRecord();

    MemoryStore& memory_;
    Commitment commitment_;
    QCheckBox* done_;
    RecordTextField* text_;
    PersonPicker* person_;
    DueControl* due_;
    DeleteButton* delete_;
};

} // namespace lumeno
