// Work done on the main thread on the way to listening: each key event through the hot-key service, and
// the level of each microphone buffer. Both must stay far below the 100 ms in which listening has to start.
#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeGlobalHotkeys.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "platform/fake/FakeModifierState.h"
#include "support/ManualScheduler.h"
#include "voice/HotkeyService.h"
#include "voice/SpeechCapture.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace lumeno {
namespace {

// Press, hold past the hold delay, release: down, holdBegan and up come out.
void BM_HoldGesture(benchmark::State& state) {
    ManualClock clock;
    ManualScheduler scheduler(clock);
    FakeGlobalHotkeys keyboard;
    FakeModifierState modifiers(keyboard);
    FakeAccessibilityTrust trust;
    FakeKeyboardLayoutSource layout;
    HotkeyService service({keyboard, modifiers, trust, layout, scheduler, clock});
    int events = 0;
    QObject::connect(&service, &HotkeyService::hotkeyEvent, [&] { ++events; });
    service.start(Hotkey());
    for (auto _ : state) {
        keyboard.press(VirtualKey::rightOption);
        scheduler.advance(0.5);
        keyboard.release(VirtualKey::rightOption);
    }
    benchmark::DoNotOptimize(events);
    state.SetItemsProcessed(int64_t(events));
}
BENCHMARK(BM_HoldGesture);

// A tenth of a second at 48 kHz, the largest buffer a microphone usually hands over.
void BM_BufferLevel(benchmark::State& state) {
    std::vector<float> samples(4800);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(0.1 * std::sin(double(i) * 0.05));
    for (auto _ : state)
        benchmark::DoNotOptimize(SpeechCapture::level(samples));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(samples.size()));
}
BENCHMARK(BM_BufferLevel);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
