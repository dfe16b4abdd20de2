#pragma once

#include "memory/ui/RecordColumn.h"

#include <QHash>
#include <QUuid>

namespace lumeno {

class MemoryStore;

// The records of one section, one `Row` per record in the order given. A row belongs to its record's id:
// a record that changes or moves keeps its row, and with it whatever the user is typing there.
template <typename Row>
class RecordList : public RecordColumn {
public:
    using Record = typename Row::Record;

    RecordList(MemoryStore& memory, EmptyMemory::Content empty, QWidget* parent = nullptr)
        : RecordColumn(std::move(empty), parent), memory_(memory) {}

    void setRecords(const QList<Record>& records) {
        QHash<QUuid, Row*> kept;
        QList<QWidget*> order;
        for (const Record& record : records) {
            Row* row = rows_.take(record.id);
            if (row)
                row->setRecord(record);
            else
                row = new Row(memory_, record, rowParent());
            kept.insert(record.id, row);
            order.append(row);
        }
        // Rows whose record left the list go, with their state. A row may be the one whose button
        // removed its record, so it is deleted once that click is over.
        for (Row* gone : std::as_const(rows_)) {
            gone->hide();
            gone->deleteLater();
        }
        rows_ = kept;
        arrange(order);
    }

private:
    MemoryStore& memory_;
    QHash<QUuid, Row*> rows_;
};

} // namespace lumeno
