#include "memory/ui/CommitmentRow.h"

#include "memory/MemoryStore.h"
#include "memory/ui/DeleteButton.h"
#include "memory/ui/DueControl.h"
#include "memory/ui/PersonPicker.h"
#include "memory/ui/RecordTextField.h"
#include "support/Clock.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lumeno {

CommitmentRow::CommitmentRow(MemoryStore& memory, const Commitment& commitment, QWidget* parent)
    : QWidget(parent)
    , memory_(memory)
    , commitment_(commitment)
    , done_(new QCheckBox(this))
    , text_(new RecordTextField(QStringLiteral("Commitment"), this))
    , person_(new PersonPicker(memory, commitment.personID, this))
    , due_(new DueControl(memory.clock(), this))
    , delete_(new DeleteButton(QStringLiteral("Delete this commitment"), this)) {
    setObjectName(QStringLiteral("commitmentRow"));
    done_->setObjectName(QStringLiteral("done"));
    done_->setAccessibleName(QStringLiteral("Done"));
    text_->setFont(TypeScale::font(13));

    auto* details = new QHBoxLayout;
    details->setSpacing(8);
    details->addWidget(person_);
    details->addWidget(due_);
    details->addStretch();
    auto* column = new QVBoxLayout;
    column->setSpacing(3);
    column->addWidget(text_);
    column->addLayout(details);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 3, 0, 3);
    layout->setSpacing(10);
    layout->addWidget(done_);
    layout->addLayout(column, 1);
    layout->addWidget(delete_);

    connect(done_, &QCheckBox::toggled, this, [this](bool on) { memory_.setDone(commitment_.id, on); });
    text_->onCommit = [this](const QString& text) {
        Commitment changed = commitment_;
        changed.text = text;
        memory_.updateCommitment(changed);
    };
    person_->onChange = [this](const std::optional<QUuid>& personID) {
        Commitment changed = commitment_;
        changed.personID = personID;
        memory_.updateCommitment(changed);
    };
    due_->onChange = [this](const std::optional<QDateTime>& due) {
        Commitment changed = commitment_;
        changed.due = due;
        memory_.updateCommitment(changed);
    };
    connect(delete_, &DeleteButton::clicked, this, [this] { memory_.deleteCommitment(commitment_.id); });
    showRecord();
}

void CommitmentRow::setRecord(const Commitment& commitment) {
    commitment_ = commitment;
    showRecord();
}

bool CommitmentRow::isOverdue(const Commitment& commitment, const QDateTime& now) {
    if (!commitment.due || commitment.done)
        return false;
    const QDateTime endOfToday = now.toLocalTime().date().startOfDay().addSecs(86'400);
    return *commitment.due < endOfToday;
}

void CommitmentRow::showRecord() {
    {
        const QSignalBlocker quiet(done_);
        done_->setChecked(commitment_.done);
    }
    done_->setToolTip(commitment_.done ? QStringLiteral("Mark as open") : QStringLiteral("Mark as done"));
    text_->setStoredText(commitment_.text);
    QFont font = text_->font();
    font.setStrikeOut(commitment_.done);
    text_->setFont(font);
    QPalette look = text_->palette();
    look.setColor(QPalette::Text, hierarchicalColor(palette(), commitment_.done ? Hierarchy::secondary : Hierarchy::primary));
    text_->setPalette(look);
    person_->setPersonID(commitment_.personID);
    due_->setDue(commitment_.due, isOverdue(commitment_, memory_.clock().now()));
}

} // namespace lumeno
