// The column every memory section lays its rows out in: it is arranged again on every change of memory
// and every keystroke in the search field, so arranging must cost nothing that stays behind.
#include "memory/ui/RecordColumn.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

#include <malloc.h>

namespace lumeno {
namespace {

class Column : public RecordColumn {
public:
    Column() : RecordColumn({QStringLiteral("note.text"), QStringLiteral("Nothing"), QString()}) {
        for (int i = 0; i < 5; ++i)
            rows.append(new QLabel(QStringLiteral("Row %1").arg(i), rowParent()));
    }
    void arrangeAll() { arrange(rows); }
    void reverse() { std::reverse(rows.begin(), rows.end()); }

    QList<QWidget*> rows;
};

size_t heapInUse() {
    return mallinfo2().uordblks;
}

TEST(RecordColumn, ArrangingTheSameRowsAgainAndAgainKeepsNoMemory) {
    Column column;
    column.resize(400, 300);
    for (int i = 0; i < 50; ++i) // first arrangements settle the caches of layout and style
        column.arrangeAll();
    const size_t before = heapInUse();
    for (int i = 0; i < 4000; ++i)
        column.arrangeAll();
    const size_t after = heapInUse();
    // Keeping even one layout item per row per arrangement would hold far over a megabyte here.
    EXPECT_LT(after > before ? after - before : 0, 64u * 1024) << "bytes still held after arranging";
}

TEST(RecordColumn, RowsGoInTheGivenOrderAndTheEmptyPanelShowsWithoutAny) {
    Column column;
    column.resize(400, 300);
    column.show();
    column.arrangeAll();
    column.reverse();
    column.arrangeAll();
    QApplication::processEvents();
    for (qsizetype i = 1; i < column.rows.size(); ++i)
        EXPECT_LT(column.rows[i - 1]->y(), column.rows[i]->y()) << "row " << i;
    EXPECT_FALSE(column.showsEmptyPanel());
    column.rows.clear();
    column.arrangeAll();
    EXPECT_TRUE(column.showsEmptyPanel());
}

} // namespace
} // namespace lumeno
