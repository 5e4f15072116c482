// The design table as every backend reads it: each name once, every shown
// control on the client area, and every picture it names drawn.

#include "window/Design.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using window::ControlDesign;
using window::ControlKind;

TEST(DesignTable, NamesEachControlAndPictureOnce) {
    std::set<std::string_view> controls;
    for (const ControlDesign& control : window::designedControls()) {
        EXPECT_TRUE(controls.insert(control.name).second) << control.name;
        EXPECT_EQ(&window::controlDesign(control.name), &control);
    }
    std::set<std::string_view> pictures;
    for (const auto& picture : window::designedPictures()) {
        EXPECT_TRUE(pictures.insert(picture.name).second) << picture.name;
    }
    EXPECT_THROW(window::controlDesign("Image5"), std::logic_error);
    EXPECT_THROW(window::pictureDesign("tReflectSideways"), std::logic_error);
}

TEST(DesignTable, ShownControlsLieOnTheClientAreaAndSourcesHaveNoPlace) {
    for (const ControlDesign& control : window::designedControls()) {
        SCOPED_TRACE(std::string(control.name));
        const window::Box& box = control.box;
        if (control.kind == ControlKind::PictureSource) {
            EXPECT_EQ(box.width * box.height, 0);
            continue;
        }
        EXPECT_GT(box.width, 0);
        EXPECT_GT(box.height, 0);
        EXPECT_GE(box.left, 0);
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.left + box.width, window::kClientWidth);
        EXPECT_LE(box.top + box.height, window::kClientHeight);
    }
}

TEST(DesignTable, EveryPictureNamedIsDrawnAndEverySourceHasItsOwn) {
    int sources = 0;
    for (const ControlDesign& control : window::designedControls()) {
        SCOPED_TRACE(std::string(control.name));
        if (!control.picture.empty()) {
            EXPECT_NO_THROW(window::pictureDesign(control.picture));
        }
        if (control.kind == ControlKind::PictureSource) {
            ++sources;
            EXPECT_EQ(control.picture, control.name);
        } else if (control.kind == ControlKind::PictureBox && !control.array) {
            // Shown pictures start from a source, so that a later copy back matches.
            EXPECT_EQ(window::controlDesign(control.picture).kind, ControlKind::PictureSource);
        }
    }
    EXPECT_EQ(sources, 16);
    // The skin, the logo and one per source.
    EXPECT_EQ(window::designedPictures().size(), 18u);
}

TEST(DesignTable, ArraysAreTheMarkersWithTheirDesignTexts) {
    std::set<std::string_view> arrays;
    for (const ControlDesign& control : window::designedControls()) {
        if (control.array) {
            arrays.insert(control.name);
            EXPECT_EQ(control.text.empty(), control.kind != ControlKind::NumberBox) << control.name;
        }
    }
    EXPECT_EQ(arrays, (std::set<std::string_view>{"Image1", "Image2", "Text3", "Text4"}));
    EXPECT_EQ(window::controlDesign("Text3").text, "9999");
    EXPECT_EQ(window::controlDesign("Text4").text, "Text1");
}

// What the rest of the tool takes from the design as given: the window's size,
// the front outline that start-up measures the preview box by, the arrows at
// load showing the first direction, left-right, and the stacking order.
TEST(DesignTable, KeepsTheDesignsFixedFacts) {
    EXPECT_EQ(window::kClientWidth, 820);
    EXPECT_EQ(window::kClientHeight, 558);
    const window::Box& front = window::controlDesign("Shape1").box;
    EXPECT_EQ((std::array{front.left, front.top, front.width, front.height}),
              (std::array{24, 80, 341, 361}));
    EXPECT_EQ(window::controlDesign("Image3").picture, "tArrUp90");  // pale
    EXPECT_EQ(window::controlDesign("Image4").picture, "tArrDwn0");  // vivid
    EXPECT_TRUE(window::isDesignedControl("bReflect"));
    EXPECT_FALSE(window::isDesignedControl("Image5"));

    // Outlines at the bottom, the twelve shown controls, then the sources.
    const auto controls = window::designedControls();
    ASSERT_EQ(controls.size(), 28u);
    EXPECT_EQ(controls[0].name, "Shape1");
    EXPECT_EQ(controls[1].name, "Shape2");
    for (std::size_t index = 0; index < controls.size(); ++index) {
        EXPECT_EQ(controls[index].kind == ControlKind::PictureSource, index >= 12)
            << controls[index].name;
    }
}

}  // namespace
