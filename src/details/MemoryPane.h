#pragma once

#include <QScrollArea>

namespace lumeno {

class MemoryStore;

// The left column of the draft details window: a read-only list of the people, open promises and pins the
// drafts can draw on, following every change of the memory store. Done promises are never shown, and a
// promise or pin tied to a person is shown only in that person's entry.
class MemoryPane : public QScrollArea {
    Q_OBJECT
public:
    explicit MemoryPane(MemoryStore& memory, QWidget* parent = nullptr);

    // The column's ideal width beside the records.
    QSize sizeHint() const override { return {300, QScrollArea::sizeHint().height()}; }

private:
    void rebuild();

    MemoryStore& memory_;
};

} // namespace lumeno
