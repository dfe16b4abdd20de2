#include "SampleProse.h"
#include "support/Regex.h"

#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

const Regex& emailAddress() {
    static const Regex regex = Regex::fixed("[\\w.+-]+@[\\w-]+(?:\\.[\\w-]+)+");
    return regex;
}

void setThroughput(benchmark::State& state, const QString& text) {
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size() * int64_t(sizeof(QChar)));
}

void BM_AllMatches(benchmark::State& state) {
    const QString text = sampleProse();
    for (auto _ : state)
        benchmark::DoNotOptimize(emailAddress().allMatches(text));
    setThroughput(state, text);
}
BENCHMARK(BM_AllMatches);

// A labelled secret that never occurs: the whole text is scanned case-insensitively.
void BM_FirstMatchMissingCaseInsensitive(benchmark::State& state) {
    static const Regex label = Regex::fixed("(?i)\\b(?:password|passcode|api[ _-]?key)\\s*[:=]\\s*\\S+");
    const QString text = sampleProse();
    for (auto _ : state)
        benchmark::DoNotOptimize(label.firstMatch(text));
    setThroughput(state, text);
}
BENCHMARK(BM_FirstMatchMissingCaseInsensitive);

void BM_ReplaceAll(benchmark::State& state) {
    static const Regex spaces = Regex::fixed("\\s+");
    const QString text = sampleProse();
    for (auto _ : state)
        benchmark::DoNotOptimize(spaces.replaceAll(text, " "));
    setThroughput(state, text);
}
BENCHMARK(BM_ReplaceAll);

// Many short searches: the cost of setting up a search on every call.
void BM_FirstMatchShortText(benchmark::State& state) {
    const QString text = sampleProse(200).left(200);
    for (auto _ : state)
        benchmark::DoNotOptimize(emailAddress().firstMatch(text));
}
BENCHMARK(BM_FirstMatchShortText);

void BM_Compile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Regex::compile("(?i)\\b(?:password|passcode|pin)\\s*[:=]\\s*(\\S+)"));
}
BENCHMARK(BM_Compile);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
