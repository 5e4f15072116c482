// Pictures need a running QGuiApplication, so the window tests bring their own
// main instead of gtest_main. The platform (offscreen) comes from ctest.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
