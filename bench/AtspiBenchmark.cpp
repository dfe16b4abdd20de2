// Reading other applications over a real accessibility bus: the focused field's snapshot and the
// conversation around it, in our Qt window, a GTK 3 text view and Chromium, each showing a thread of 60
// messages. The benchmark starts its own desktop (Xvfb, openbox, session and accessibility buses) and
// reports nothing when one cannot start.
#include "linux/harness/AccessibilityBus.h"
#include "linux/harness/AccessibleTargets.h"
#include "linux/harness/DesktopTest.h"
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
    AtspiAccessibility accessibility{QCoreApplication::applicationPid(),
                                     desktop::AccessibilityBus::instance().accessibilityAddress()};
    LinuxWorkspace workspace;
    FocusInspector inspector{workspace, accessibility};
    SystemClock clock;
    ScreenReader reader{accessibility, clock};
    std::optional<AccessibleElement> field;

    explicit Reading(qint64 pid) {
        const auto frontmost = std::make_shared<X11FrontmostApplication>(XcbConnection::open());
        workspace.frontmost = [frontmost] { return frontmost->read(); };
        DesktopTest::waitUntil([&] {
            field = accessibility.focusedElement(pid);
            return field && accessibility.string(*field, AXAttribute::role) == QString(AXRole::textArea);
        }, 30000);
    }
};

void focusRead(benchmark::State& state, Reading& reading) {
    for (auto _ : state) {
        const std::optional<FocusSnapshot> snapshot = QCoro::waitFor(reading.inspector.snapshot());
        if (!snapshot || !snapshot->element)
            state.SkipWithError("no focused field");
    }
}

void conversationRead(benchmark::State& state, Reading& reading) {
    qsizetype characters = 0;
    for (auto _ : state) {
        const std::optional<ScreenReader::Conversation> read = reading.reader.conversation(*reading.field);
        if (!read)
            state.SkipWithError("no conversation");
        else
            characters = read->text.size();
    }
    state.counters["characters"] = double(characters);
}

// Registers and runs the two reads while `app` is in front.
void measure(const char* toolkit, desktop::AccessibleApp* app) {
    if (!app || !app->isRunning())
        return;
    Reading reading(app->pid());
    if (!reading.field) {
        std::fprintf(stderr, "%s: no focused field on the accessibility bus; not measured\n", toolkit);
        return;
    }
    benchmark::RegisterBenchmark((std::string("FocusRead/") + toolkit).c_str(), focusRead, std::ref(reading))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("ConversationRead/") + toolkit).c_str(), conversationRead,
                                 std::ref(reading))
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::ClearRegisteredBenchmarks();
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
    {
        const auto qt = desktop::AccessibleTargets::qt(messages);
        qt->waitUntilReady();
        measure("Qt", qt.get());
    }
    {
        const auto gtk = desktop::AccessibleTargets::gtk(QStringLiteral("Draft"), messages);
        gtk->waitUntilReady();
        measure("GTK", gtk.get());
    }
    {
        QTemporaryDir profile;
        const auto chromium = desktop::AccessibleTargets::chromium(profile.path(), messages);
        measure("Chromium", chromium.get());
    }
    benchmark::Shutdown();
    screen.stop();
    return 0;
}
