#include "SampleProse.h"
#include "support/Text.h"

#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

void setThroughput(benchmark::State& state, const QString& text) {
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size() * int64_t(sizeof(QChar)));
}

void BM_Folded(benchmark::State& state) {
    const QString text = sampleProse();
    for (auto _ : state)
        benchmark::DoNotOptimize(Text::folded(text));
    setThroughput(state, text);
}
BENCHMARK(BM_Folded);

void BM_GraphemeCount(benchmark::State& state) {
    const QString text = sampleProse();
    for (auto _ : state)
        benchmark::DoNotOptimize(Text::graphemeCount(text));
    setThroughput(state, text);
}
BENCHMARK(BM_GraphemeCount);

// A short draft: folding and prefixing happen per keystroke-sized text, so set-up cost matters.
void BM_FoldedShortText(benchmark::State& state) {
    const QString text = sampleProse(80).left(80);
    for (auto _ : state)
        benchmark::DoNotOptimize(Text::folded(text));
}
BENCHMARK(BM_FoldedShortText);

void BM_GraphemePrefixShortText(benchmark::State& state) {
    const QString text = sampleProse(200).left(200);
    for (auto _ : state)
        benchmark::DoNotOptimize(Text::graphemePrefix(text, 60));
}
BENCHMARK(BM_GraphemePrefixShortText);

void BM_LocalizedCompare(benchmark::State& state) {
    const QString a = QString::fromUtf8("Zo\u00EB M\u00FCller-Schmidt");
    const QString b = QString::fromUtf8("zoe Muller-Schmidt");
    for (auto _ : state)
        benchmark::DoNotOptimize(Text::localizedCaseInsensitiveCompare(a, b));
}
BENCHMARK(BM_LocalizedCompare);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
