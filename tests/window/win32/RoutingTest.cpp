#include <gtest/gtest.h>

#include "SkinFixture.h"

namespace {

using Events = std::vector<std::string>;

class Routing : public testing::Test, protected testing_support::SkinFixture {
protected:
    void SetUp() override {
        m_skin.show();
        m_pointer.move(5, 5);
        m_handlers.events.clear();
    }
};

TEST_F(Routing, MovesOverTheBackgroundAndOutlinesReachTheWindow) {
    m_pointer.move(10, 300);  // bare background
    m_pointer.move(30, 90);   // inside Shape1, clear of the markers
    m_pointer.move(24, 200);  // on Shape1's line
    EXPECT_EQ(m_handlers.events, (Events{"move 0 10,300", "move 0 30,90", "move 0 24,200"}));
}

TEST_F(Routing, MovesOverMarkersAndNumberBoxesDoNotReachTheWindow) {
    m_pointer.move(60, 190);   // Image1(0)
    m_pointer.move(180, 228);  // Text3(0)
    m_pointer.move(460, 140);  // Image2(0)
    m_pointer.move(480, 150);  // Text4(0)
    EXPECT_TRUE(m_handlers.events.empty());
}

TEST_F(Routing, MovesOverAButtonAreTheButtonsAndAClickIsLeftPressAndRelease) {
    m_pointer.move(30, 500);
    m_pointer.press(1, 30, 500);
    m_pointer.release(1, 30, 500);
    m_pointer.move(700, 510);
    m_pointer.press(2, 400, 200);  // Image3, other button: no click
    m_pointer.release(2, 400, 200);
    m_pointer.press(1, 390, 250);  // Image3 again, released off it: no click
    m_pointer.release(1, 300, 250);
    m_pointer.press(1, 400, 470);  // Image4
    m_pointer.release(1, 401, 471);
    EXPECT_EQ(m_handlers.events,
              (Events{"bReflect.move", "bReflect.click", "bForget.move", "Image4.click"}));
}

TEST_F(Routing, APressOnAButtonKeepsItsMovesWhileHeld) {
    m_pointer.press(1, 160, 500);  // bDuplicate
    m_pointer.move(10, 300);       // over the background, still held
    m_pointer.release(1, 10, 300);
    m_pointer.move(11, 301);
    EXPECT_EQ(m_handlers.events, (Events{"bDuplicate.move", "move 0 11,301"}));
}

TEST_F(Routing, APressOnTheBackgroundKeepsMovesComingWhileHeld) {
    m_pointer.press(1, 10, 300);
    m_pointer.move(60, 190);   // over a marker
    m_pointer.move(30, 505);   // over a button
    m_pointer.move(900, 600);  // outside the window
    m_pointer.move(-5, -7);
    m_pointer.release(1, -5, -7);
    m_pointer.move(30, 505);
    EXPECT_EQ(m_handlers.events, (Events{"down 1 10,300", "move 1 60,190", "move 1 30,505",
                                         "move 1 900,600", "move 1 -5,-7", "bReflect.move"}));
}

TEST_F(Routing, ButtonsReportTheSumOfThoseHeld) {
    m_pointer.press(1, 10, 300);
    m_pointer.press(2, 10, 300);
    m_pointer.move(12, 302);
    m_pointer.release(1, 12, 302);
    m_pointer.move(14, 304);
    m_pointer.press(4, 14, 304);
    m_pointer.move(15, 305);
    m_pointer.release(2, 15, 305);
    m_pointer.release(4, 15, 305);
    EXPECT_EQ(m_handlers.events, (Events{"down 1 10,300", "down 2 10,300", "move 3 12,302",
                                         "move 2 14,304", "down 4 14,304", "move 6 15,305"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Routing, APressOnAMarkerStartsNothing) {
    m_pointer.press(1, 60, 190);
    m_pointer.move(10, 300);
    m_pointer.release(1, 10, 300);
    m_pointer.move(11, 301);
    EXPECT_EQ(m_handlers.events, (Events{"move 0 11,301"}));
}

TEST_F(Routing, AStillPointerOverAMovingWindowReportsNoMove) {
    m_pointer.press(1, 100, 300);
    m_pointer.move(101, 301);
    m_pointer.move(101, 301);  // the same place again
    // The window moves 20 pixels right under a pointer that stays where it is.
    m_skin.setLeft(m_skin.left() + 20 * 15);
    m_pointer.move(81, 301);
    m_pointer.move(82, 303);
    m_pointer.release(1, 82, 303);
    EXPECT_EQ(m_handlers.events, (Events{"down 1 100,300", "move 1 101,301", "move 1 82,303"}));
}

}  // namespace
