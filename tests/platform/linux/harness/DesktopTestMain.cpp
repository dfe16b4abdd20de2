#include "platform/linux/harness/TestDesktop.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// The desktop tests' main: the X server first, so the QApplication (standing for Lumeno) connects to it;
// then the window manager; then the tests. Everything started is stopped by pid on the way out, and by
// the kernel should the tests crash.
int main(int argc, char** argv) {
    // The programs on the test desktop keep their runtime files here, not in the user's session.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    lumeno::desktop::TestDesktop desktop;
    const bool serverRuns = desktop.startServer();
    qputenv("QT_QPA_PLATFORM", serverRuns ? "xcb" : "offscreen");
    qputenv("LUMENO_RUNNING_TESTS", "1");
    QApplication app(argc, argv);
    if (serverRuns)
        desktop.startWindowManager();
    if (!desktop.isRunning())
        std::fprintf(stderr, "Desktop tests skipped: %s\n", qPrintable(desktop.whyNotRunning()));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    desktop.stop();
    return result;
}
