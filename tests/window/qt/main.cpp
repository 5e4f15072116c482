// Pictures need a running QGuiApplication, so the window tests bring their own
// main instead of gtest_main.

#include <QApplication>
#include <QtGlobal>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // ctest sets the platform for the tests, but not for listing them, and a
    // machine without a display cannot start the default one. An explicit
    // choice (QT_QPA_PLATFORM=xcb under Xvfb) still wins.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
