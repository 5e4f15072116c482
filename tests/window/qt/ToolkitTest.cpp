#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "DesignPoints.h"
#include "RecordingHandlers.h"
#include "window/form/EventGuard.h"
#include "window/qt/SkinWindow.h"

namespace {

using testing_support::centreOf;
using testing_support::inside;
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
    move({10, 300});                // bare background
    move(inside("Shape1", 6, 10));  // clear of the markers
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"move 0 10,300", "move 0 30,90"}));
}

TEST_F(Routing, MovesOverMarkersAndNumberBoxesDoNotReachTheWindow) {
    move(inside("Image1", 4, 6));
    move(inside("Text3", 4, 4));
    move(inside("Image2", 4, 4));
    EXPECT_TRUE(m_handlers.events.empty());
}

TEST_F(Routing, MovesOverAButtonAreTheButtonsAndAClickIsLeftPressAndRelease) {
    const QPoint button = inside("bReflect", 6, 4);
    move(button);
    press(Qt::LeftButton, button);
    release(Qt::LeftButton, button);
    press(Qt::RightButton, centreOf("Image3"));  // other button: no click
    release(Qt::RightButton, centreOf("Image3"));
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"bReflect.move", "bReflect.click"}));
}

TEST_F(Routing, APressOnTheBackgroundKeepsMovesComingWhileHeld) {
    move({10, 300});
    m_handlers.events.clear();
    press(Qt::LeftButton, {10, 300});
    const QPoint marker = inside("Image1", 4, 6);
    const QPoint button = inside("bReflect", 6, 9);
    move(marker);
    move(button);
    move({900, 600});  // outside the window
    release(Qt::LeftButton, {900, 600});
    const auto held = [](QPoint at) {
        return "move 1 " + std::to_string(at.x()) + "," + std::to_string(at.y());
    };
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"down 1 10,300", held(marker),
                                                           held(button), "move 1 900,600"}));
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
    press(Qt::LeftButton, inside("Image1", 4, 6));
    move({10, 300});
    release(Qt::LeftButton, {10, 300});
    move({11, 301});
    EXPECT_EQ(m_handlers.events, (std::vector<std::string>{"move 0 11,301"}));
}

}  // namespace
