#include "memory/ui/PinRow.h"

#include "memory/MemoryStore.h"
#include "memory/ui/DeleteButton.h"
#include "memory/ui/PersonPicker.h"
#include "memory/ui/RecordTextField.h"
#include "ui/SymbolView.h"
#include "ui/TypeScale.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumeno {

PinRow::PinRow(MemoryStore& memory, const Pin& pin, QWidget* parent)
    : QWidget(parent)
    , memory_(memory)
    , pin_(pin)
    , text_(new RecordTextField(QStringLiteral("Pin"), this))
    , person_(new PersonPicker(memory, pin.personID, this))
    , thread_(new QLabel(this))
    , delete_(new DeleteButton(QStringLiteral("Delete this pin"), this)) {
    setObjectName(QStringLiteral("pinRow"));
    thread_->setObjectName(QStringLiteral("thread"));
    thread_->setFont(TypeScale::font(12));
    thread_->setTextFormat(Qt::PlainText);
    thread_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextHierarchy(*thread_, Hierarchy::secondary);

    auto* details = new QHBoxLayout;
    details->setSpacing(8);
    details->addWidget(person_);
    details->addWidget(thread_, 1);
    // Keeps the person menu at the left when there is no thread to fill the line.
    details->addStretch(0);
    auto* column = new QVBoxLayout;
    column->setSpacing(3);
    column->addWidget(text_);
    column->addLayout(details);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 3, 0, 3);
    layout->setSpacing(10);
    layout->addWidget(new SymbolView(QStringLiteral("pin"), 13, Ink::of(Hierarchy::secondary), this));
    layout->addLayout(column, 1);
    layout->addWidget(delete_);

    text_->onCommit = [this](const QString& text) {
        Pin changed = pin_;
        changed.text = text;
        memory_.updatePin(changed);
    };
    person_->onChange = [this](const std::optional<QUuid>& personID) {
        Pin changed = pin_;
        changed.personID = personID;
        memory_.updatePin(changed);
    };
    connect(delete_, &DeleteButton::clicked, this, [this] { memory_.deletePin(pin_.id); });
    showRecord();
}

void PinRow::setRecord(const Pin& pin) {
    pin_ = pin;
    showRecord();
}

void PinRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elideThread();
}

void PinRow::showRecord() {
    text_->setStoredText(pin_.text);
    person_->setPersonID(pin_.personID);
    thread_->setVisible(pin_.thread.has_value());
    thread_->setToolTip(pin_.thread.value_or(QString()));
    elideThread();
}

void PinRow::elideThread() {
    const QString thread = pin_.thread.value_or(QString());
    thread_->setText(thread_->fontMetrics().elidedText(thread, Qt::ElideMiddle, std::max(thread_->width(), 40)));
}

} // namespace lumeno
