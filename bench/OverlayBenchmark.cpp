#include "overlay/FittingText.h"
#include "overlay/OverlayModel.h"
#include "overlay/OverlayView.h"
#include "support/ManualScheduler.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// Each live-transcript update re-measures the overlay's row to re-fit the panel; these keep that cheap.
namespace {

using namespace lumeno;

const QString transcript = QStringLiteral(
    "so tell her that Thursday at three works for me and that I will bring the signed contract and the slides");

void BM_FittingTextShownLines(benchmark::State& state) {
    FittingText text({12, QFont::Normal, int(state.range(0)), 300, Qt::ElideRight, true});
    text.setText(transcript);
    for (auto _ : state)
        benchmark::DoNotOptimize(text.shownLines());
}
BENCHMARK(BM_FittingTextShownLines)->Arg(1)->Arg(3);

void BM_MeasureListeningRowAfterTranscriptUpdate(benchmark::State& state) {
    ManualClock clock;
    ManualScheduler scheduler(clock);
    OverlayModel model;
    model.setContextBadge(QStringLiteral("Conversation"));
    model.setPersonBadge(QStringLiteral("Anna"));
    model.setPhase(OverlayPhase::listening);
    OverlayView view(model, AnimationClock{scheduler, clock});
    int words = 0;
    for (auto _ : state) {
        model.setTranscript(transcript.left(10 + (++words % 90)));
        benchmark::DoNotOptimize(view.measure());
    }
}
BENCHMARK(BM_MeasureListeningRowAfterTranscriptUpdate);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
