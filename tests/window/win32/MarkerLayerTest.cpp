#include <gtest/gtest.h>

#include <vector>

#include "window/win32/Decoder.h"
#include "window/win32/MarkerLayer.h"
#include "window/win32/Pictures.h"

namespace {

using window::ToolkitError;
using window::win32::MarkerLayer;

class MarkerLayerTest : public testing::Test {
protected:
    static void place(window::Control& control, float left, float top, float width, float height) {
        control.setLeft(left);
        control.setTop(top);
        control.setWidth(width);
        control.setHeight(height);
    }

    std::vector<RECT> m_repaints;
    MarkerLayer m_layer{[this](const RECT& area) { m_repaints.push_back(area); }};
};

TEST_F(MarkerLayerTest, CreatesHiddenCopiesOfElementZero) {
    auto& icons = m_layer.frontIcons();
    place(icons[0], 56, 184, 200, 80);
    icons[0].setVisible(true);
    icons[0].setPicture(window::win32::makePicture("page90"));
    icons.create(1);
    EXPECT_EQ(icons[1].picture(), icons[0].picture());
    EXPECT_EQ(icons[1].left(), 56.0f);
    EXPECT_EQ(icons[1].height(), 80.0f);
    EXPECT_FALSE(icons[1].isVisible());
    EXPECT_TRUE(icons[0].isVisible());

    auto& numbers = m_layer.backNumbers();
    numbers[0].setText("Text1");
    numbers.create(3);
    EXPECT_EQ(numbers[3].text(), "Text1");
    EXPECT_FALSE(numbers.exists(2));
    EXPECT_TRUE(numbers.exists(3));
}

TEST_F(MarkerLayerTest, MisuseIsAnErrorNamingTheElement) {
    auto& numbers = m_layer.frontNumbers();
    EXPECT_THROW(numbers.create(0), ToolkitError);
    EXPECT_THROW(numbers.remove(0), ToolkitError);
    EXPECT_THROW(numbers.remove(1), ToolkitError);
    EXPECT_THROW(numbers[-1], ToolkitError);
    try {
        numbers[7];
        FAIL() << "addressing a missing element must fail";
    } catch (const ToolkitError& error) {
        EXPECT_STREQ(error.what(), "There is no control Text3(7)");
    }
    numbers.create(1);
    EXPECT_THROW(numbers.create(1), ToolkitError);
    numbers.remove(1);
    EXPECT_FALSE(numbers.exists(1));
    EXPECT_THROW(numbers[1], ToolkitError);
    numbers.create(1);  // and made again
    EXPECT_TRUE(numbers.exists(1));
}

TEST_F(MarkerLayerTest, HitsVisibleMarkersOnly) {
    place(m_layer.frontIcons()[0], 56, 184, 200, 80);
    place(m_layer.backNumbers()[0], 472, 144, 25, 13);
    m_layer.backNumbers()[0].setVisible(true);
    EXPECT_FALSE(m_layer.hitTest(60, 190));  // icon hidden
    m_layer.frontIcons()[0].setVisible(true);
    EXPECT_TRUE(m_layer.hitTest(60, 190));
    EXPECT_TRUE(m_layer.hitTest(256, 264));  // far corner, on the edge
    EXPECT_FALSE(m_layer.hitTest(257, 264));
    EXPECT_TRUE(m_layer.hitTest(480, 150));
    EXPECT_FALSE(m_layer.hitTest(10, 300));

    auto& icons = m_layer.backIcons();
    icons.create(2);
    place(icons[2], 600, 300, 20, 20);
    EXPECT_FALSE(m_layer.hitTest(610, 310));
    icons[2].setVisible(true);
    EXPECT_TRUE(m_layer.hitTest(610, 310));
    icons.remove(2);
    EXPECT_FALSE(m_layer.hitTest(610, 310));
}

TEST_F(MarkerLayerTest, AChangeRepaintsWhereTheMarkerWasAndIs) {
    auto& number = m_layer.frontNumbers()[0];
    place(number, 10, 10, 20, 10);
    m_repaints.clear();
    number.setLeft(50);
    ASSERT_EQ(m_repaints.size(), 1u);
    EXPECT_EQ(m_repaints[0].left, 10);
    EXPECT_EQ(m_repaints[0].right, 70);
    EXPECT_EQ(m_repaints[0].bottom, 20);
    number.setLeft(50);  // no change, no repaint
    EXPECT_EQ(m_repaints.size(), 1u);
}

// Paints the layer over a grey ground and reads the pixels back.
class MarkerPaintTest : public MarkerLayerTest {
protected:
    window::win32::Bitmap painted() {
        window::win32::Bitmap target(300, 200);
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, target.handle());
        RECT all{0, 0, 300, 200};
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        FillRect(dc, &all, grey);
        DeleteObject(grey);
        m_layer.paint(dc, all);
        GdiFlush();
        SelectObject(dc, previous);
        DeleteDC(dc);
        return target;
    }
    static std::uint32_t rgb(const window::win32::Bitmap& bitmap, int x, int y) {
        return bitmap.pixel(x, y) & 0xffffffu;
    }

    window::win32::GdiplusSession m_gdiplus;
};

TEST_F(MarkerPaintTest, IconsThenNumberBoxesOnTop) {
    auto& icon = m_layer.frontIcons()[0];
    place(icon, 20, 20, 48, 68);
    icon.setPicture(window::win32::makePicture("page0"));
    icon.setVisible(true);
    const auto iconOnly = painted();
    EXPECT_EQ(rgb(iconOnly, 44, 20), 0x000000u);  // the page's head edge
    EXPECT_EQ(rgb(iconOnly, 44, 60), 0x808080u);  // see-through inside the page
    EXPECT_EQ(rgb(iconOnly, 10, 10), 0x808080u);

    auto& number = m_layer.frontNumbers()[0];
    place(number, 30, 15, 30, 12);
    number.setText("8");
    number.setVisible(true);
    const auto both = painted();
    EXPECT_EQ(rgb(both, 31, 20), 0xffffffu);  // white box over the icon's edge
    int inked = 0;
    for (int y = 15; y < 27; ++y) {
        for (int x = 30; x < 60; ++x) {
            inked += rgb(both, x, y) != 0xffffffu ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 3) << "the number is drawn in the box";

    number.setVisible(false);
    icon.setVisible(false);
    EXPECT_EQ(rgb(painted(), 44, 20), 0x808080u);
}

}  // namespace
