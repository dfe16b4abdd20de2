#include "app/LumenoApplication.h"

#include <gtest/gtest.h>

// The application tests run under the program's own application object, so its quit guard and its
// handling of escaping exceptions are the ones exercised.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("LUMENO_RUNNING_TESTS", "1");
    lumeno::LumenoApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
