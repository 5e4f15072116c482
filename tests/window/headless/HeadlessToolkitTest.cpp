#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/Design.h"
#include "window/headless/HeadlessControls.h"
#include "window/headless/HeadlessEventLoop.h"
#include "window/headless/HeadlessWindow.h"

namespace {

using window::ControlKind;
using window::ToolkitError;
using window::headless::designPicture;
using window::headless::HeadlessEventLoop;
using window::headless::HeadlessWindow;
using window::headless::pictureName;

window::Control& elementZero(window::Control& control) {
    return control;
}
template <class T>
window::Control& elementZero(window::ControlArray<T>& array) {
    return array[0];
}

// Every control of the window by its design name (element 0 for an array), as
// the toolkit interface holds them.
window::Control& byName(window::Controls& ui, std::string_view name) {
#define QUARVEL_BY_NAME(controlName, ...) {#controlName, &elementZero(ui.controlName)},
    const std::pair<std::string_view, window::Control*> controls[] = {
        QUARVEL_DESIGN_TABLE(QUARVEL_BY_NAME)};
#undef QUARVEL_BY_NAME
    for (const auto& [controlName, control] : controls) {
        if (controlName == name) {
            return *control;
        }
    }
    throw std::logic_error("the test does not know control " + std::string(name));
}

TEST(HeadlessWindow, HoldsEveryControlAsTheDesignHasIt) {
    HeadlessWindow window({});
    window::Controls& ui = window.controls();
    std::set<const window::Control*> distinct;
    for (const window::ControlDesign& design : window::designedControls()) {
        SCOPED_TRACE(std::string(design.name));
        window::Control& control = byName(ui, design.name);
        EXPECT_TRUE(distinct.insert(&control).second) << "a control of its own";
        if (design.kind == ControlKind::PictureSource) {
            EXPECT_FALSE(control.isVisible());
        } else {
            EXPECT_EQ(control.left(), static_cast<float>(design.box.left));
            EXPECT_EQ(control.top(), static_cast<float>(design.box.top));
            EXPECT_EQ(control.width(), static_cast<float>(design.box.width));
            EXPECT_EQ(control.height(), static_cast<float>(design.box.height));
            EXPECT_TRUE(control.isVisible());
        }
        if (auto* picture = dynamic_cast<window::PictureControl*>(&control)) {
            EXPECT_EQ(pictureName(picture->picture()), design.picture);
        }
        if (auto* number = dynamic_cast<window::TextBox*>(&control)) {
            EXPECT_EQ(number->text(), design.text);
        }
    }
    // A control shows the very picture its source holds.
    EXPECT_EQ(ui.bReflect.picture(), ui.tReflectUp.picture());
    EXPECT_EQ(ui.Image3.picture(), ui.tArrUp90.picture());
}

TEST(HeadlessWindow, PicturesAreTheDesignsOwnByName) {
    EXPECT_EQ(designPicture("page90"), designPicture("page90"));
    EXPECT_NE(designPicture("page90"), designPicture("page270"));
    EXPECT_EQ(pictureName(designPicture("tArrDwn0")), "tArrDwn0");
    EXPECT_EQ(pictureName(nullptr), "");
    EXPECT_THROW(designPicture("page45"), std::logic_error);
}

TEST(HeadlessWindow, ArrayElementsAreHiddenCopiesOfElementZero) {
    HeadlessWindow window({});
    window::Controls& ui = window.controls();
    ui.Image2[0].setPicture(designPicture("page180"));
    ui.Image2[0].setWidth(12.5f);
    ui.Text4[0].setText("2");

    ui.Image2.create(3);
    ui.Text4.create(3);
    EXPECT_TRUE(ui.Image2.exists(3));
    EXPECT_FALSE(ui.Image2.exists(2));
    EXPECT_EQ(pictureName(ui.Image2[3].picture()), "page180");
    EXPECT_EQ(ui.Image2[3].width(), 12.5f);
    EXPECT_EQ(ui.Image2[3].left(), ui.Image2[0].left());
    EXPECT_FALSE(ui.Image2[3].isVisible());
    EXPECT_EQ(ui.Text4[3].text(), "2");
    // A copy is a control of its own.
    ui.Image2[3].setLeft(99);
    EXPECT_NE(ui.Image2[0].left(), 99);

    ui.Image2.remove(3);
    EXPECT_FALSE(ui.Image2.exists(3));
    ui.Image2.create(3);  // again, once removed
    EXPECT_TRUE(ui.Image2.exists(3));
}

// Markers kept or not, the arrays keep which elements exist and refuse the same mistakes.
class HeadlessArrays : public testing::TestWithParam<HeadlessWindow::Markers> {};

TEST_P(HeadlessArrays, MistakesAreToolkitErrors) {
    HeadlessWindow window({}, GetParam());
    window::Controls& ui = window.controls();
    ui.Text3.create(1);
    EXPECT_THROW(ui.Text3.create(1), ToolkitError);  // exists
    EXPECT_THROW(ui.Text3.create(0), ToolkitError);  // designed
    EXPECT_THROW(ui.Text3.remove(0), ToolkitError);  // designed
    EXPECT_THROW(ui.Text3.remove(2), ToolkitError);  // never made
    EXPECT_THROW(ui.Text3[2], ToolkitError);
    EXPECT_THROW(ui.Text3[-1], ToolkitError);
    ui.Text3.remove(1);
    EXPECT_THROW(ui.Text3[1], ToolkitError);  // removed
    EXPECT_THROW(ui.Text3.remove(1), ToolkitError);
    EXPECT_THROW(ui.Image1.remove(40), ToolkitError);
}

TEST_P(HeadlessArrays, ElementsExistFromCreateToRemove) {
    HeadlessWindow window({}, GetParam());
    window::ControlArray<window::PictureControl>& icons = window.controls().Image1;
    for (std::int16_t i = 1; i <= 5; ++i) {
        icons.create(i);
    }
    icons.remove(5);
    icons.remove(2);
    EXPECT_TRUE(icons.exists(0));
    EXPECT_TRUE(icons.exists(1));
    EXPECT_FALSE(icons.exists(2));
    EXPECT_TRUE(icons.exists(4));
    EXPECT_FALSE(icons.exists(5));
    EXPECT_FALSE(icons.exists(-3));
    icons.create(5);
    EXPECT_TRUE(icons.exists(5));
}

INSTANTIATE_TEST_SUITE_P(KeptAndUnkept, HeadlessArrays,
                         testing::Values(HeadlessWindow::Markers::Kept,
                                         HeadlessWindow::Markers::Unkept));

// Unkept, an element keeps what is set on it until the array hands out
// another, which starts again from element 0 (what placing a marker needs).
TEST(HeadlessWindow, UnkeptElementsLastUntilTheNextIsHandedOut) {
    HeadlessWindow window({}, HeadlessWindow::Markers::Unkept);
    window::Controls& ui = window.controls();
    ui.Image2[0].setPicture(designPicture("page180"));
    ui.Image2[0].setWidth(12.5f);
    ui.Image2.create(1);
    ui.Image2.create(2);

    window::PictureControl& first = ui.Image2[1];
    EXPECT_EQ(pictureName(first.picture()), "page180");
    EXPECT_EQ(first.width(), 12.5f);
    EXPECT_FALSE(first.isVisible());
    first.setLeft(99);
    first.setVisible(true);
    EXPECT_EQ(first.left(), 99);
    EXPECT_TRUE(first.isVisible());
    EXPECT_NE(ui.Image2[0].left(), 99) << "element 0 is a control of its own";

    window::PictureControl& second = ui.Image2[2];
    EXPECT_EQ(second.left(), ui.Image2[0].left());
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(second.width(), 12.5f);
}

TEST(HeadlessWindow, MessagesGoToTheSink) {
    std::vector<std::string> shown;
    HeadlessWindow window([&shown](const std::string& text) { shown.push_back(text); });
    window.showMessage("Please open a publication and try again.");
    EXPECT_EQ(shown, std::vector<std::string>{"Please open a publication and try again."});
}

TEST(HeadlessEventLoop, RunsPostedEventsInOrderUntilLeft) {
    HeadlessEventLoop loop;
    std::vector<int> ran;
    loop.post([&] { ran.push_back(1); });
    loop.post([&] {
        ran.push_back(2);
        loop.post([&] { ran.push_back(4); });  // posted while running: runs too
    });
    loop.post([&] { ran.push_back(3); });
    EXPECT_EQ(loop.run(), 0);  // ran out: like closing the window
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));

    HeadlessEventLoop leaving;
    ran.clear();
    leaving.post([&] { ran.push_back(1); });
    leaving.post([&] {
        ran.push_back(2);
        leaving.leave(3);
    });
    leaving.post([&] { ran.push_back(5); });
    EXPECT_EQ(leaving.run(), 3);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(HeadlessEventLoop, LeftBeforeRunningReturnsAtOnce) {
    HeadlessEventLoop loop;
    bool ran = false;
    loop.leave(1);
    loop.post([&] { ran = true; });
    EXPECT_EQ(loop.run(), 1);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(loop.left());
}

}  // namespace
