#include <gtest/gtest.h>

#include "window/win32/Geometry.h"

namespace {

using window::win32::ControlGeometry;

struct PixelCase {
    ControlGeometry geometry;
    double scale;
    RECT pixels;
};

TEST(ControlGeometry, ShowsEachValueScaledAndRoundedHalvesToEven) {
    const PixelCase cases[] = {
        {{24, 80, 341, 361}, 1.0, {24, 80, 365, 441}},
        {{10.5f, 11.5f, 2.5f, 3.5f}, 1.0, {10, 12, 12, 16}},
        {{-0.5f, -1.5f, 0.4f, 0.6f}, 1.0, {0, -2, 0, -1}},
        {{99.49f, 0.51f, 10.49f, 10.51f}, 1.0, {99, 1, 109, 12}},
        // bReflect at 125 %, 150 %, 175 % and 200 %.
        {{24, 496, 116, 32}, 1.25, {30, 620, 175, 660}},
        {{24, 496, 116, 32}, 1.5, {36, 744, 210, 792}},
        {{24, 496, 116, 32}, 1.75, {42, 868, 245, 924}},
        {{24, 496, 116, 32}, 2.0, {48, 992, 280, 1056}},
        // Halves after scaling go to the even neighbour too: 2.5 and 3.5.
        {{1, 1, 3, 3}, 1.25, {1, 1, 5, 5}},
        {{2, 2, 1, 1}, 1.75, {4, 4, 6, 6}},
    };
    for (const auto& c : cases) {
        const RECT got = c.geometry.pixels(c.scale);
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
