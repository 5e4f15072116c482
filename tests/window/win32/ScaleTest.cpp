#include <gtest/gtest.h>

#include <cmath>

#include "SkinFixture.h"

namespace {

using Events = std::vector<std::string>;

// The window as the system moves it onto a monitor of another scale: it takes
// WM_DPICHANGED with the new dots per inch and a suggested place.
class Scale : public testing::Test, protected testing_support::SkinFixture {
protected:
    void moveToDpi(UINT dpi, POINT at) {
        const auto width = static_cast<LONG>(std::lround(820 * dpi / 96.0));
        RECT suggested{at.x, at.y, at.x + width, at.y + width};
        SendMessageW(m_skin.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    RECT client() const {
        RECT box;
        GetClientRect(m_skin.handle(), &box);
        return box;
    }
    RECT placeOf(const char* control) const {
        RECT box;
        HWND child = m_skin.pictureWindow(control).handle();
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, m_skin.handle(), reinterpret_cast<POINT*>(&box), 2);
        return box;
    }
};

TEST_F(Scale, TheDesignTimesTheScaleAtEveryScaleAndBackAgain) {
    const struct {
        UINT dpi;
        LONG width, height;
        RECT reflect, image3;
    } cases[] = {
        {120, 1025, 698, {30, 620, 175, 660}, {480, 230, 521, 375}},
        {144, 1230, 837, {36, 744, 210, 792}, {576, 276, 626, 450}},
        {168, 1435, 977, {42, 868, 245, 924}, {672, 322, 730, 525}},
        {192, 1640, 1116, {48, 992, 280, 1056}, {768, 368, 834, 600}},
        {96, 820, 558, {24, 496, 140, 528}, {384, 184, 417, 300}},
    };
    for (const auto& c : cases) {
        moveToDpi(c.dpi, POINT{40, 30});
        EXPECT_EQ(client().right, c.width) << c.dpi;
        EXPECT_EQ(client().bottom, c.height) << c.dpi;
        const RECT reflect = placeOf("bReflect");
        const RECT image3 = placeOf("Image3");
        EXPECT_TRUE(EqualRect(&c.reflect, &reflect))
            << c.dpi << ": bReflect at " << reflect.left << "," << reflect.top;
        EXPECT_TRUE(EqualRect(&c.image3, &image3))
            << c.dpi << ": Image3 at " << image3.left << "," << image3.top;
        EXPECT_DOUBLE_EQ(m_skin.scale(), c.dpi / 96.0);
        EXPECT_DOUBLE_EQ(m_skin.markers().scale(), c.dpi / 96.0);
    }
}

// Dragged onto a monitor of another scale, the window keeps the design point
// under the pointer where it was, so the drag carries on from there.
TEST_F(Scale, TheDesignPointUnderThePointerStaysUnderIt) {
    SetWindowPos(m_skin.handle(), nullptr, 100, 50, 820, 558, SWP_NOZORDER | SWP_NOACTIVATE);
    POINT before{};
    ASSERT_TRUE(GetCursorPos(&before));
    ASSERT_TRUE(SetCursorPos(400, 350));  // window units 300, 300
    POINT pointer{};
    GetCursorPos(&pointer);
    moveToDpi(192, POINT{900, 900});   // the system's suggestion is not taken
    SetCursorPos(before.x, before.y);  // off the window again, for the other tests
    ASSERT_EQ(pointer.x, 400);
    RECT frame;
    GetWindowRect(m_skin.handle(), &frame);
    EXPECT_EQ(frame.left, 400 - 600);
    EXPECT_EQ(frame.top, 350 - 600);
    EXPECT_EQ(frame.right - frame.left, 1640);
}

TEST_F(Scale, TheSystemAsksForTheDesignSizeAtTheNewScale) {
    SIZE size{};
    EXPECT_TRUE(
        SendMessageW(m_skin.handle(), WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, 1230);
    EXPECT_EQ(size.cy, 837);
}

// Left and Top stay 15 twips to a window unit: the form's drag arithmetic is
// the same at every scale, and so the window moves by the same share of the
// pointer's movement.
TEST_F(Scale, LeftAndTopAreFifteenTwipsToAWindowUnit) {
    moveToDpi(144, POINT{300, 150});
    RECT frame;
    GetWindowRect(m_skin.handle(), &frame);
    EXPECT_EQ(frame.left, 300);
    EXPECT_FLOAT_EQ(m_skin.left(), 300 / 1.5f * 15);
    EXPECT_FLOAT_EQ(m_skin.top(), 150 / 1.5f * 15);
    m_skin.setLeft(3000);  // 200 window units: 300 pixels
    m_skin.setTop(1500);
    GetWindowRect(m_skin.handle(), &frame);
    EXPECT_EQ(frame.left, 300);
    EXPECT_EQ(frame.top, 150);
    EXPECT_FLOAT_EQ(m_skin.left(), 3000);
}

TEST_F(Scale, ThePointerReachesTheHandlersInWindowUnitsAndHitsTheScaledControls) {
    m_skin.show();
    moveToDpi(192, POINT{0, 0});
    m_handlers.events.clear();
    m_pointer.move(20, 600);   // window units 10, 300: bare background
    m_pointer.move(120, 380);  // 60, 190: Image1(0), a marker
    m_pointer.move(60, 1000);  // 30, 500: bReflect
    m_pointer.press(1, 60, 1000);
    m_pointer.release(1, 60, 1000);
    m_pointer.press(1, 800, 500);  // 400, 250: Image3
    m_pointer.release(1, 800, 500);
    m_pointer.press(1, 21, 603);
    m_pointer.move(27, 611);
    m_pointer.release(1, 27, 611);
    EXPECT_EQ(m_handlers.events, (Events{"move 0 10,300", "bReflect.move", "bReflect.click",
                                         "Image3.click", "down 1 10,301", "move 1 13,305"}));
}

}  // namespace
