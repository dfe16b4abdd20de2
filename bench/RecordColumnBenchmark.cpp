#include "memory/ui/RecordColumn.h"

#include <QApplication>
#include <QLabel>
#include <benchmark/benchmark.h>

#include <malloc.h>

// Every memory section lays its rows out in a RecordColumn, arranged again on every change of memory and
// every keystroke in the search field: arranging must be quick and must keep nothing behind.
namespace {

using namespace lumeno;

class Column : public RecordColumn {
public:
    Column() : RecordColumn({QStringLiteral("note.text"), QStringLiteral("Nothing"), QString()}) {
        for (int i = 0; i < 5; ++i)
            rows.append(new QLabel(QStringLiteral("Row %1").arg(i), rowParent()));
        resize(400, 300);
    }
    void arrangeAll() { arrange(rows); }

    QList<QWidget*> rows;
};

// heldBytes: what the heap grew by over the run; keeping a layout item per row per arrangement shows here.
void BM_ArrangeFiveRowsAgain(benchmark::State& state) {
    Column column;
    for (int i = 0; i < 50; ++i) // the first arrangements settle the caches of layout and style
        column.arrangeAll();
    const size_t before = mallinfo2().uordblks;
    for (auto _ : state)
        column.arrangeAll();
    const size_t after = mallinfo2().uordblks;
    state.counters["heldBytes"] = double(after > before ? after - before : 0);
}
BENCHMARK(BM_ArrangeFiveRowsAgain)->Iterations(4000);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
