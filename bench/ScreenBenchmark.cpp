#include "SampleProse.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeWorkspace.h"
#include "screen/ContextPacker.h"
#include "screen/PasteCheck.h"
#include "screen/ScreenReader.h"
#include "support/ManualScheduler.h"

#include <QCoroTask>
#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

// A chat window holding `messages` messages (author, time, text each) above a composer. The fake tree
// answers in-process, so this measures the reader's own work; on a desktop each element costs a message
// to another process, which is why the node bound exists.
struct LongChat {
    FakeWorkspace workspace;
    FakeDesktop desktop{workspace};
    FakeDesktop::ElementId composer = 0;

    explicit LongChat(int messages) {
        desktop.addApplication({7000, QStringLiteral("org.gnome.fractal"), QStringLiteral("Fractal"), {}, 0});
        const FakeDesktop::ElementId window = desktop.addWindow(7000, QStringLiteral("Team room")).window;
        FakeDesktop::Element list;
        list.role = AXRole::list;
        const FakeDesktop::ElementId thread = desktop.add(window, list);
        for (int number = 0; number < messages; ++number) {
            const FakeDesktop::ElementId row = desktop.add(thread, {});
            desktop.addText(row, QStringLiteral("Ana Novak"));
            desktop.addText(row, QStringLiteral("10:%1 AM").arg(number % 60, 2, 10, QLatin1Char('0')));
            desktop.addText(row, QStringLiteral("Message %1: could you check the figures before the call?").arg(number));
        }
        composer = desktop.add(window, FakeDesktop::Element::field(AXRole::textArea, QString()));
    }
};

void BM_ReadConversationAroundComposer(benchmark::State& state) {
    LongChat chat(int(state.range(0)));
    SystemClock clock;
    ScreenReader reader(chat.desktop.accessibility(), clock);
    int nodes = 0;
    for (auto _ : state) {
        const std::optional<ScreenReader::Conversation> conversation =
            reader.conversation(chat.desktop.handle(chat.composer));
        nodes = conversation ? conversation->nodes : 0;
        benchmark::DoNotOptimize(conversation);
    }
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_ReadConversationAroundComposer)->Arg(50)->Arg(1000)->Arg(20000);

// A context packer over the fake desktop's clipboard.
struct Packing {
    FakeWorkspace workspace;
    FakeDesktop desktop{workspace};
    ManualClock clock;
    ManualScheduler scheduler{clock};
    ContextPacker packer{desktop.pasteboard(), clock, scheduler};
};

void BM_PackScreenConversation(benchmark::State& state) {
    Packing packing;
    const QString text = sampleProse(12000);
    const ScreenReader::Conversation screen{text, false, 900, 4, text.size()};
    for (auto _ : state)
        benchmark::DoNotOptimize(QCoro::waitFor(packing.packer.pack(std::nullopt, screen)));
}
BENCHMARK(BM_PackScreenConversation);

// A copy of a whole document: packing stays bounded however much the user copied.
void BM_PackHugeCopy(benchmark::State& state) {
    Packing packing;
    packing.desktop.userCopies(PasteboardContents::plain(sampleProse(int(state.range(0)))));
    for (auto _ : state)
        benchmark::DoNotOptimize(QCoro::waitFor(packing.packer.pack(std::nullopt, std::nullopt)));
}
BENCHMARK(BM_PackHugeCopy)->Arg(10 * 1024)->Arg(1024 * 1024);

void BM_CheckPasteInLongField(benchmark::State& state) {
    const QString before = sampleProse(int(state.range(0)));
    const QString pasted = QStringLiteral("Thanks Ana,\nthe figures look right.\n\nBob");
    const QString after = before.left(before.size() / 2) + pasted + before.mid(before.size() / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(PasteCheck::evaluate(before, after, pasted));
}
BENCHMARK(BM_CheckPasteInLongField)->Arg(1024)->Arg(100 * 1024);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
