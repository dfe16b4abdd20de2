// Reading other applications over a real accessibility bus: the focused field's snapshot and the
// conversation around it, in our Qt window, a GTK 3 text view and Chromium, each showing a thread of 60
// messages, and in two desktop editors with a short message open: gedit, whose window keeps hundreds of
// elements out of sight, and KWrite, whose editor lies deep under the object it marks focused. The
// benchmark starts its own desktop (Xvfb, openbox, session and accessibility buses) and reports nothing
// when one cannot start.
#include "platform/linux/harness/AccessibilityBus.h"
#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/linux/harness/DesktopTest.h"
#include "platform/AXNames.h"
#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/XcbConnection.h"
#include "screen/FocusInspector.h"
#include "screen/ScreenReader.h"

#include <QApplication>
#include <QCoroTask>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace lumeno {
namespace {

using desktop::DesktopTest;

constexpr int messages = 60;

// One target on the desktop, in front, and the program's readers pointed at it.
struct Reading {
    std::unique_ptr<desktop::AccessibleApp> app;
    QTemporaryDir profile;
    AtspiAccessibility accessibility{QCoreApplication::applicationPid(),
                                     desktop::AccessibilityBus::instance().accessibilityAddress()};
    LinuxWorkspace workspace;
    FocusInspector inspector{workspace, accessibility};
    SystemClock clock;
    ScreenReader reader{accessibility, clock};
    std::optional<AccessibleElement> field;

    explicit Reading(const std::string& toolkit) {
        if (toolkit == "Qt")
            app = desktop::AccessibleTargets::qt(messages);
        else if (toolkit == "GTK")
            app = desktop::AccessibleTargets::gtk(QStringLiteral("Draft"), messages);
        else if (toolkit == "gedit" || toolkit == "KWrite")
            app = desktop::AccessibleTargets::editor(QString::fromStdString(toolkit).toLower(), profile.path());
        else
            app = desktop::AccessibleTargets::chromium(profile.path(), messages);
        if (!app)
            return;
        const auto frontmost = std::make_shared<X11FrontmostApplication>(XcbConnection::open());
        workspace.frontmost = [frontmost] { return frontmost->read(); };
        DesktopTest::waitUntil([&] {
            field = accessibility.focusedElement(app->pid());
            return field && accessibility.string(*field, AXAttribute::role) == QString(AXRole::textArea);
        }, 30000);
    }
};

// The toolkit's target, started when its first benchmark runs; the one before it is closed then, so the
// one measured is always in front.
std::string currentToolkit;
std::unique_ptr<Reading> reading;

Reading* inFront(benchmark::State& state, const std::string& toolkit) {
    if (currentToolkit != toolkit) {
        reading.reset();
        reading = std::make_unique<Reading>(toolkit);
        currentToolkit = toolkit;
    }
    if (!reading->field) {
        state.SkipWithError("no focused field on the accessibility bus");
        return nullptr;
    }
    return reading.get();
}

void focusRead(benchmark::State& state, const std::string& toolkit) {
    Reading* reading = inFront(state, toolkit);
    for (auto _ : state) {
        if (!reading)
            continue;
        const std::optional<FocusSnapshot> snapshot = QCoro::waitFor(reading->inspector.snapshot());
        if (!snapshot || !snapshot->element)
            state.SkipWithError("no focused field");
    }
}

void conversationRead(benchmark::State& state, const std::string& toolkit) {
    Reading* reading = inFront(state, toolkit);
    qsizetype characters = 0;
    int elements = 0;
    for (auto _ : state) {
        if (!reading)
            continue;
        const std::optional<ScreenReader::Conversation> read = reading->reader.conversation(*reading->field);
        if (!read) {
            state.SkipWithError("no conversation");
        } else {
            characters = read->text.size();
            elements = read->nodes;
        }
    }
    state.counters["characters"] = double(characters);
    state.counters["elements"] = double(elements);
}

} // namespace
} // namespace lumeno

int main(int argc, char** argv) {
    using namespace lumeno;
    desktop::TestDesktop screen;
    const bool serverRuns = screen.startServer();
    qputenv("QT_QPA_PLATFORM", serverRuns ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!serverRuns || !screen.startWindowManager() || !desktop::AccessibilityBus::instance().isRunning()) {
        std::fprintf(stderr, "No desktop with an accessibility bus: %s%s\n", qPrintable(screen.whyNotRunning()),
                     qPrintable(desktop::AccessibilityBus::instance().whyNotRunning()));
        return 0;
    }
    for (const std::string toolkit : {"Qt", "GTK", "Chromium", "gedit", "KWrite"}) {
        benchmark::RegisterBenchmark(("FocusRead/" + toolkit).c_str(), focusRead, toolkit)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ConversationRead/" + toolkit).c_str(), conversationRead, toolkit)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    reading.reset();
    benchmark::Shutdown();
    screen.stop();
    return 0;
}
