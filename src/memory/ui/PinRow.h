#pragma once

#include "memory/Pin.h"

#include <QWidget>

class QLabel;

namespace lumeno {

class DeleteButton;
class MemoryStore;
class PersonPicker;
class RecordTextField;

// One pin: its text edited in place, its person, the thread it was pinned in, and a trash button.
class PinRow : public QWidget {
    Q_OBJECT
public:
    using Record = Pin;

    PinRow(MemoryStore& memory, const Pin& pin, QWidget* parent = nullptr);

    const Pin& record() const { return pin_; }
    void setRecord(const Pin& pin);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showRecord();
    // Long thread titles lose their middle, so both the start and the end stay readable.
    void elideThread();

    MemoryStore& memory_;
    Pin pin_;
    RecordTextField* text_;
    PersonPicker* person_;
    QLabel* thread_;
    DeleteButton* delete_;
};

} // namespace lumeno
