#include <gtest/gtest.h>

#include "window/win32/Geometry.h"

namespace {

using window::win32::ControlGeometry;

struct PixelCase {
    ControlGeometry geometry;
    RECT pixels;
};

TEST(ControlGeometry, ShowsEachValueRoundedHalvesToEven) {
    const PixelCase cases[] = {
        {{24, 80, 341, 361}, {24, 80, 365, 441}},
        {{10.5f, 11.5f, 2.5f, 3.5f}, {10, 12, 12, 16}},
        {{-0.5f, -1.5f, 0.4f, 0.6f}, {0, -2, 0, -1}},
        {{99.49f, 0.51f, 10.49f, 10.51f}, {99, 1, 109, 12}},
    };
    for (const auto& c : cases) {
        const RECT got = c.geometry.pixels();
        EXPECT_EQ(got.left, c.pixels.left);
        EXPECT_EQ(got.top, c.pixels.top);
        EXPECT_EQ(got.right, c.pixels.right);
        EXPECT_EQ(got.bottom, c.pixels.bottom);
    }
}

TEST(ControlGeometry, ContainsItsEdgesButAnEmptyBoxContainsNothing) {
    const ControlGeometry box{10, 20, 30, 40};
    EXPECT_TRUE(box.contains(10, 20));
    EXPECT_TRUE(box.contains(40, 60));  // right and bottom edges included
    EXPECT_TRUE(box.contains(25.5, 30));
    EXPECT_FALSE(box.contains(9.99, 30));
    EXPECT_FALSE(box.contains(40.01, 30));
    EXPECT_FALSE(box.contains(20, 60.5));
    EXPECT_FALSE((ControlGeometry{10, 20, 0, 40}.contains(10, 30)));
    EXPECT_FALSE((ControlGeometry{10, 20, 30, 0}.contains(20, 20)));
    // Negative extents span back from the corner.
    EXPECT_TRUE((ControlGeometry{40, 60, -30, -40}.contains(10, 20)));
    EXPECT_FALSE((ControlGeometry{40, 60, -30, -40}.contains(41, 30)));
}

}  // namespace
