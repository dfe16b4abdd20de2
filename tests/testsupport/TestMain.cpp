#include <QApplication>

#include <gtest/gtest.h>

// Every test executable runs under a QApplication on the offscreen platform, so widgets can be built,
// grabbed and clicked without a display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("LUMENO_RUNNING_TESTS", "1");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
