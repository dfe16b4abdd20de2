#pragma once

#include "memory/ui/EmptyMemory.h"

#include <QStackedWidget>

class QVBoxLayout;

namespace lumeno {

// A scrolling column of record rows, or the empty panel when there are none. It only places the rows it
// is given; `RecordList` decides which rows exist.
class RecordColumn : public QStackedWidget {
    Q_OBJECT
public:
    explicit RecordColumn(EmptyMemory::Content empty, QWidget* parent = nullptr);

    EmptyMemory* emptyPanel() const { return empty_; }
    bool showsEmptyPanel() const { return currentWidget() == empty_; }
    // The rows on show, top to bottom.
    const QList<QWidget*>& arrangedRows() const { return arranged_; }

protected:
    // Lays `rows` out top to bottom in this order, with hairlines between them.
    void arrange(const QList<QWidget*>& rows);
    QWidget* rowParent() const { return rows_; }

private:
    EmptyMemory* empty_;
    QWidget* scroller_;
    QWidget* rows_;
    QVBoxLayout* layout_;
    QList<QWidget*> arranged_;
};

} // namespace lumeno
