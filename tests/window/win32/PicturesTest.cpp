#include <gtest/gtest.h>

#include <algorithm>

#include <stdexcept>

#include "window/win32/Decoder.h"
#include "window/win32/Geometry.h"
#include "window/win32/Pictures.h"

namespace {

using window::win32::chooseRendering;
using window::win32::Rendering;

std::uint8_t alpha(std::uint32_t pixel) {
    return static_cast<std::uint8_t>(pixel >> 24);
}

TEST(Pictures, ScaleFromTheSmallestRenderingThatCoversTheSize) {
    const Rendering choices[] = {
        {"page0", 480, 680, 1, true}, {"page0", 240, 340, 2, true}, {"page0", 120, 170, 3, true}};
    struct Case {
        int width, height, resource;
    };
    const Case cases[] = {
        {120, 170, 3},                                // exact
        {100, 150, 3}, {121, 170, 2},                 // one way too large for the smaller
        {120, 171, 2}, {20, 300, 2},  {500, 700, 1},  // larger than all: the largest
        {1, 1, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseRendering(choices, c.width, c.height).resource, c.resource)
            << c.width << " x " << c.height;
    }
}

TEST(Pictures, EveryPictureHasItsDesignSizeFirst) {
    const struct {
        const char* name;
        int width, height;
    } designs[] = {{"skin", 820, 559},       {"logo", 23, 15},     {"tReflectUp", 228, 56},
                   {"tForgetDown", 228, 56}, {"tArrUp0", 110, 38}, {"tArrDwn90", 38, 110},
                   {"page0", 480, 680},      {"page90", 680, 480}, {"page180", 480, 680},
                   {"page270", 680, 480}};
    for (const auto& design : designs) {
        const auto picture = window::win32::makePicture(design.name);
        EXPECT_EQ(picture->designWidth(), design.width) << design.name;
        EXPECT_EQ(picture->designHeight(), design.height) << design.name;
    }
    EXPECT_THROW(window::win32::makePicture("tNothing"), std::logic_error);
}

// At every scale the window is drawn at, each picture has a rendering at
// least the size it is drawn at, so none is ever enlarged (and blurred): the
// skin exactly at its scaled size, the button faces and arrows at their
// controls' sizes, the page icons as tall as a preview at that scale.
TEST(Pictures, EveryScaleDrawsFromARenderingThatCoversIt) {
    using window::win32::scaledLength;
    const struct {
        const char* picture;
        int width, height;  // window units, as drawn at 100 %
    } drawn[] = {{"skin", 820, 559},     {"tReflectUp", 116, 32}, {"tArrUp0", 116, 32},
                 {"tArrDwn90", 33, 116}, {"page0", 255, 361},     {"page90", 341, 241}};
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        for (const auto& d : drawn) {
            const auto choices = window::win32::renderingsOf(d.picture);
            const int width = scaledLength(d.width, scale);
            const int height = scaledLength(d.height, scale);
            const Rendering& from = chooseRendering(choices, width, height);
            EXPECT_GE(from.width, width) << d.picture << " at " << scale;
            EXPECT_GE(from.height, height) << d.picture << " at " << scale;
        }
        const auto skin = window::win32::renderingsOf("skin");
        const int width = scaledLength(820, scale);
        const int height = scaledLength(559, scale);
        EXPECT_TRUE(
            std::any_of(skin.begin(), skin.end(),
                        [&](const Rendering& r) { return r.width == width && r.height == height; }))
            << "no skin rendered at " << scale;
    }
}

// Every embedded rendering decodes at its size; opaque pictures cover every
// pixel, page icons are black lines on a transparent ground.
TEST(Pictures, EveryRenderingIsEmbeddedAndDecodes) {
    window::win32::GdiplusSession gdiplus;
    for (const Rendering& rendering : window::win32::renderings()) {
        const auto picture = window::win32::makePicture(std::string(rendering.picture));
        const auto& bitmap = picture->at(rendering.width, rendering.height);
        ASSERT_EQ(bitmap.width(), rendering.width) << rendering.picture;
        ASSERT_EQ(bitmap.height(), rendering.height) << rendering.picture;
        const int cx = rendering.width / 2;
        const int cy = rendering.height / 2;
        if (rendering.transparent) {
            EXPECT_EQ(bitmap.pixel(cx, cy), 0u) << rendering.picture;
            // The page's corner: black, and mostly covered even where its
            // line is thinner than a pixel.
            EXPECT_EQ(bitmap.pixel(0, 0) & 0xffffffu, 0u) << rendering.picture;
            EXPECT_GE(alpha(bitmap.pixel(0, 0)), 0x60) << rendering.picture;
        } else {
            for (int y = 0; y < rendering.height; y += 3) {
                for (int x = 0; x < rendering.width; x += 3) {
                    ASSERT_EQ(alpha(bitmap.pixel(x, y)), 255) << rendering.picture;
                }
            }
        }
    }
}

TEST(Pictures, TheSkinPanelIsSteelBlue) {
    window::win32::GdiplusSession gdiplus;
    const auto skin = window::win32::makePicture("skin");
    const auto& bitmap = skin->at(820, 559);
    EXPECT_EQ(bitmap.pixel(400, 300), 0xff709dbcu);
}

TEST(Pictures, APictureIsStretchedToAnySizeAndKept) {
    window::win32::GdiplusSession gdiplus;
    const auto icon = window::win32::makePicture("page90");
    const auto& small = icon->at(37, 19);
    EXPECT_EQ(small.width(), 37);
    EXPECT_EQ(small.height(), 19);
    EXPECT_EQ(&icon->at(37, 19), &small);  // scaled once
    // The page outline survives the scaling as a dark, opaque edge.
    EXPECT_GT(alpha(small.pixel(18, 0)), 200);
    EXPECT_LT(alpha(small.pixel(18, 9)), 40);
}

}  // namespace
