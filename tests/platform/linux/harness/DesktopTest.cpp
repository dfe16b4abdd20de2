#include "platform/linux/harness/DesktopTest.h"

#include "platform/linux/harness/WaitUntil.h"
#include "testsupport/Screenshots.h"

#include <QWidget>
#include <QGuiApplication>
#include <QScreen>

namespace lumeno::desktop {

bool DesktopTest::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return desktop::waitUntil(condition, timeoutMs);
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
