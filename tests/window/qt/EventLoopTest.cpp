// Leaving the Qt event loop: the window goes at once, run() returns the status,
// and a loop left before it ran never shows the window.

#include "window/qt/EventLoop.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "window/qt/SkinWindow.h"

namespace {

using window::qt::QtEventLoop;

TEST(QtEventLoop, LeftBeforeItRunsItReturnsAtOnceWithoutShowingTheWindow) {
    window::qt::SkinWindow skin;
    QtEventLoop loop(skin);
    bool shown = false;
    QTimer::singleShot(0, [&] { shown = skin.isVisible(); });
    loop.leave(1);
    EXPECT_EQ(loop.run(), 1);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(skin.isVisible());
}

TEST(QtEventLoop, LeavingFromAHandlerHidesTheWindowAtOnceAndRunReturnsTheStatus) {
    window::qt::SkinWindow skin;
    QtEventLoop loop(skin);
    bool shownBefore = false;
    bool hiddenAtOnce = false;
    QTimer::singleShot(0, [&] {
        shownBefore = skin.isVisible();
        loop.leave(3);
        hiddenAtOnce = !skin.isVisible();
    });
    EXPECT_EQ(loop.run(), 3);
    EXPECT_TRUE(shownBefore);
    EXPECT_TRUE(hiddenAtOnce);
}

TEST(QtEventLoop, AWindowClosedByTheSystemEndsTheRunLikeForget) {
    window::qt::SkinWindow skin;
    QtEventLoop loop(skin);
    QTimer::singleShot(0, [&] { skin.close(); });
    EXPECT_EQ(loop.run(), 0);
}

}  // namespace
