#include "platform/linux/harness/DesktopTest.h"

#include "testsupport/Screenshots.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace lumeno::desktop {

namespace {

// Conditions on the X server's state (a property, a window) change without telling this process: they
// are looked at again at least this often.
constexpr int recheckMs = 10;

} // namespace

bool DesktopTest::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    // Blocks in the event loop, so an event from the desktop is handled the moment it arrives (what the
    // latency figures rely on), and the ticks bound both the re-checks and the whole wait.
    const QDeadlineTimer deadline(timeoutMs);
    QTimer tick;
    tick.start(recheckMs);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        dispatcher->processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void DesktopTest::SetUp() {
    if (!desktop().isRunning())
        GTEST_SKIP() << "No X desktop for this test: " << desktop().whyNotRunning().toStdString();
}

QImage DesktopTest::grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

QString DesktopTest::screenshotOncePainted(const QWidget& window, const QString& name) {
    // Drawn once the window's middle is no longer the black of the bare screen; the picture holds the
    // frame the window manager draws around it.
    QImage screen;
    const auto drawn = [&] { return (screen = grabScreen()).pixelColor(window.frameGeometry().center()).lightness() > 100; };
    if (!waitUntil(drawn))
        return {};
    return screenshots::save(screen.copy(window.frameGeometry().adjusted(-8, -8, 8, 8)), name);
}

QString DesktopTest::screenshotOnceChanged(const QString& name, const QImage& before) {
    QImage now;
    if (!waitUntil([&] { return (now = grabScreen()) != before; }))
        return {};
    return screenshots::save(now, name);
}

} // namespace lumeno::desktop
