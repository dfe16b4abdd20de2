#include "e2e/harness/UserSession.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// The end-to-end suite's main: the X server first, so the test process (the user's eyes and hands, and the
// owner of the clipboard they copy to) connects to it; then the rest of the desktop; then the tests, each
// of which starts the built program itself.
int main(int argc, char** argv) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    lumeno::e2e::UserSession session;
    const bool serverRuns = session.startServer();
    qputenv("QT_QPA_PLATFORM", serverRuns ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    if (serverRuns)
        session.startDesktop();
    if (!session.isRunning())
        std::fprintf(stderr, "The end-to-end desktop did not start: %s\n", qPrintable(session.whyNotRunning()));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    session.stop();
    return result;
}
