#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "RecordingHandlers.h"
#include "window/form/EventGuard.h"
#include "window/qt/SkinWindow.h"

namespace {

using window::ToolkitError;
using window::qt::SkinWindow;

TEST(ControlArray, CreatesHiddenCopiesOfElementZero) {
    SkinWindow skin;
    auto& icons = skin.controls().Image1;
    icons[0].setPicture(skin.controls().page90.picture());
    icons.create(1);
    EXPECT_EQ(icons[1].picture(), icons[0].picture());
    EXPECT_EQ(icons[1].left(), 56.0f);
    EXPECT_EQ(icons[1].width(), 200.0f);
    EXPECT_TRUE(icons[0].isVisible());
    EXPECT_FALSE(icons[1].isVisible());

    auto& numbers = skin.controls().Text4;
    numbers.create(3);
    EXPECT_EQ(numbers[3].text(), "Text1");
    EXPECT_EQ(numbers[3].height(), 13.0f);
    EXPECT_FALSE(numbers[3].isVisible());
    EXPECT_FALSE(numbers.exists(2));
}

TEST(ControlArray, MisuseIsAnError) {
    SkinWindow skin;
    auto& numbers = skin.controls().Text3;
    EXPECT_THROW(numbers.create(0), ToolkitError);  // designed
    EXPECT_THROW(numbers.remove(0), ToolkitError);  // designed, never removed
    EXPECT_THROW(numbers[1], ToolkitError);         // not created
    EXPECT_THROW(numbers.remove(1), ToolkitError);
    EXPECT_THROW(numbers[-1], ToolkitError);
    numbers.create(1);
    EXPECT_THROW(numbers.create(1), ToolkitError);  // exists
    numbers.remove(1);
    EXPECT_THROW(numbers[1], ToolkitError);  // removed
    numbers.create(1);                       // and can be made again
    EXPECT_EQ(numbers[1].text(), "9999");
}

// Real widgets on the offscreen platform, driven through the window system so
// that Qt's own routing (child lookup, propagation, implicit grab) applies.
class Routing : public testing::Test {
protected:
    void SetUp() override {
        m_skin.connectHandlers(m_handlers, m_guard);
        m_skin.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_skin));
        // Qt drops a move to the same place as the last event; start elsewhere.
        QTest::mouseMove(m_skin.windowHandle(), QPoint(5, 5));
        QTest::mouseMove(m_skin.windowHandle(), QPoint(6, 6));
        m_handlers.events.clear();
    }

    void move(QPoint at) { QTest::mouseMove(m_skin.windowHandle(), at); }
    void press(Qt::MouseButton button, QPoint at) {
        QTest::mousePress(m_skin.windowHandle(), button, Qt::NoModifier, at);
    }
    void release(Qt::MouseButton button, QPoint at) {
        QTest::mouseRelease(m_skin.windowHandle(), button, Qt::NoModifier, at);
    }

    testing_support::RecordingHandlers m_handlers;
    window::form::EventGuard m_guard{[](const std::string&) {}, [](int) {}};
    SkinWindow m_skin;
};

TEST_F(Routing, MovesOverTheBackgroundAndOutlinesReachTheWindow) {
    move({10, 300});  // bare background
    move({30, 90});   // inside Shape1, clear of the markers
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"move 0 10,300", "move 0 30,90"}));
}

TEST_F(Routing, MovesOverMarkersAndNumberBoxesDoNotReachTheWindow) {
    move({60, 190});   // Image1(0)
    move({180, 228});  // Text3(0)
    move({460, 140});  // Image2(0)
    EXPECT_TRUE(m_handlers.events.empty());
}

TEST_F(Routing, MovesOverAButtonAreTheButtonsAndAClickIsLeftPressAndRelease) {
    move({30, 500});
    press(Qt::LeftButton, {30, 500});
    release(Qt::LeftButton, {30, 500});
    press(Qt::RightButton, {400, 200});  // Image3, other button: no click
    release(Qt::RightButton, {400, 200});
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"bReflect.move", "bReflect.click"}));
}

TEST_F(Routing, APressOnTheBackgroundKeepsMovesComingWhileHeld) {
    move({10, 300});
    m_handlers.events.clear();
    press(Qt::LeftButton, {10, 300});
    move({60, 190});   // over a marker
    move({30, 505});   // over a button
    move({900, 600});  // outside the window
    release(Qt::LeftButton, {900, 600});
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"down 1 10,300", "move 1 60,190",
                                                           "move 1 30,505", "move 1 900,600"}));
}

TEST_F(Routing, ButtonsReportTheSumOfThoseHeld) {
    move({10, 300});
    m_handlers.events.clear();
    press(Qt::LeftButton, {10, 300});
    press(Qt::RightButton, {10, 300});
    move({12, 302});
    release(Qt::LeftButton, {12, 302});
    move({14, 304});
    release(Qt::RightButton, {14, 304});
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"down 1 10,300", "down 2 10,300",
                                                           "move 3 12,302", "move 2 14,304"}));
}

TEST_F(Routing, APressOnAMarkerStartsNothing) {
    press(Qt::LeftButton, {60, 190});
    move({10, 300});
    release(Qt::LeftButton, {10, 300});
    move({11, 301});
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"move 0 11,301"}));
}

}  // namespace
