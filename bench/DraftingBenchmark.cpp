#include "SampleProse.h"
#include "drafting/DraftCleaner.h"
#include "drafting/DraftGenerator.h"
#include "drafting/PromptBuilder.h"
#include "drafting/ReplyGuard.h"

#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

// Every dictation runs the language guard on what was said and the prompt builder on a conversation of up
// to the context packer's size; the finished draft is cleaned and laid out before the user sees it. All of
// it happens between the key release and the draft appearing, so each should take well under a millisecond.

DraftInput emailWithThread(int threadUnits) {
    DraftInput input;
    input.intent = QStringLiteral("tell her Friday works and I'll bring the signed contract");
    input.surface = Surface::email;
    input.appName = QStringLiteral("Thunderbird");
    input.windowTitle = QStringLiteral("Re: Contract - Inbox - Mozilla Thunderbird");
    input.userName = QStringLiteral("Maya Lindqvist");
    input.context = PackedContext{PackedContext::Source::screen, sampleProse(threadUnits), 0, true};
    input.style.samples = sampleProse(4000);
    for (int i = 0; i < 20; ++i)
        input.style.learnedExamples.append(QStringLiteral("Thanks! Tuesday at %1 is perfect, I'll book the room.").arg(i));
    input.addressee = QStringLiteral("Priya Natarajan");
    input.spokenLanguage = QStringLiteral("English");
    return input;
}

void BM_LanguageOfDictation(benchmark::State& state) {
    const QString dictation = QStringLiteral("Sag ihm, dass Donnerstag passt und ich die Unterlagen mitbringe");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplyGuard::languageCode(dictation));
}
BENCHMARK(BM_LanguageOfDictation);

void BM_LanguageOfThread(benchmark::State& state) {
    const QString thread = sampleProse(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplyGuard::languageCode(thread));
    state.SetBytesProcessed(int64_t(state.iterations()) * thread.size() * int64_t(sizeof(QChar)));
}
BENCHMARK(BM_LanguageOfThread)->Arg(2 * 1024)->Arg(16 * 1024);

void BM_BuildPrompt(benchmark::State& state) {
    const DraftInput input = emailWithThread(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PromptBuilder::prompt(input));
}
BENCHMARK(BM_BuildPrompt)->Arg(2 * 1024)->Arg(16 * 1024);

void BM_FinishModelText(benchmark::State& state) {
    const DraftInput input = emailWithThread(2 * 1024);
    const QString modelText = QStringLiteral(
        "Here's a reply to Priya:\n\n\"Hi Priya,\n\nFriday works for me, and I'll bring the signed contract along. "
        "Looking forward to finally meeting the whole team.\nIf anything changes on your side, just let me know.\n\n"
        "Best regards,\n[Your Name]\"\n\nLet me know if you'd like me to adjust the tone.");
    for (auto _ : state)
        benchmark::DoNotOptimize(DraftGenerator::finished(modelText, input, 700));
}
BENCHMARK(BM_FinishModelText);

// A model looping on white space: a run of spaces inside a line, growing. The time should grow in step
// with the text.
void BM_CleanARunOfSpaces(benchmark::State& state) {
    const QString answer = QStringLiteral("Hi") + QString(int(state.range(0)), u' ') + QStringLiteral("x");
    for (auto _ : state)
        benchmark::DoNotOptimize(DraftCleaner::cleaned(answer, {QStringLiteral("Maya"), QStringLiteral("Jonas")}));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CleanARunOfSpaces)->RangeMultiplier(2)->Range(5'000, 40'000)->Complexity()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
