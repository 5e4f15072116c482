#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FakeToolkit.h"
#include "geometry/BackSide.h"
#include "preview/PageMarkers.h"

namespace {

using state::PageTable;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using testing_support::FakeToolkit;

struct Box {
    double top, left, height, width;
};

// A 1000 x 700 sheet previewed at half size: the front outline at (24, 80) and,
// to tell the two origins apart, the back outline at (432, 90).
class Markers : public ::testing::Test {
protected:
    Markers() {
        tool.sheetTop = 80;
        tool.sheetLeft = 24;
        tool.sheetWidth = 1000;
        tool.sheetHeight = 700;
        tool.fitScale = 0.5;
        state::newFrontTable(tool);
        fake.Shape2.design(432, 90, 500, 350, false);
    }

    // Captures one more front page, as the capture writes it.
    void addPage(Box box, double angle = 0) {
        const auto row = static_cast<std::size_t>(tool.pageCount);
        auto& table = tool.frontPages;
        table.set(row, PageTable::Top, box.top);
        table.set(row, PageTable::Left, box.left);
        table.set(row, PageTable::Bottom, box.top + box.height);
        table.set(row, PageTable::Right, box.left + box.width);
        table.set(row, PageTable::Angle, angle);
        table.set(row, PageTable::Height, box.height);
        table.set(row, PageTable::Width, box.width);
        table.setNumber(row, state::frontPageNumber(tool.pageCount));
        state::countFrontPage(tool);
    }

    // What a capture does once the front table is filled.
    void drawBothSides() {
        geometry::createSide2(tool);
        preview::DrawPages(tool, ui);
        preview::DrawPagesS2(tool, ui);
        preview::ShowSide2(tool, ui, true);
    }

    std::vector<std::string> creations() const {
        std::vector<std::string> found;
        std::copy_if(fake.log.begin(), fake.log.end(), std::back_inserter(found),
                     [](const std::string& entry) { return entry.find(".create(") != entry.npos; });
        return found;
    }

    state::ToolState tool;
    FakeToolkit fake;
    window::Controls ui = fake.controls();
};

TEST_F(Markers, WithoutPagesOnlyTheBackOutlineIsShown) {
    drawBothSides();
    EXPECT_THAT(fake.log, ElementsAre("Shape2.Visible"));
    EXPECT_TRUE(fake.Shape2.isVisible());
    EXPECT_TRUE(tool.side1Loaded);
    EXPECT_TRUE(tool.side2Loaded);
}

TEST_F(Markers, OnePageUsesTheDesignedMarkersAndCreatesNone) {
    addPage({100, 200, 300, 400});
    drawBothSides();
    EXPECT_THAT(creations(), ElementsAre());
    EXPECT_EQ(fake.Image1.slots(), 1u);
    EXPECT_EQ(fake.Text4.slots(), 1u);
    EXPECT_EQ(fake.Image1.element(0).top(), 130.0f);
    EXPECT_EQ(fake.Text3.element(0).text(), "1");
    EXPECT_EQ(fake.Text4.element(0).text(), "2");
}

TEST_F(Markers, EachMarkerIsMadeAndPlacedInOrder) {
    addPage({0, 0, 100, 100});
    addPage({0, 200, 100, 100});
    geometry::createSide2(tool);
    preview::DrawPages(tool, ui);
    EXPECT_THAT(
        fake.log,
        ElementsAre("Image1(0).Picture", "Image1(0).Top", "Image1(0).Left", "Image1(0).Height",
                    "Image1(0).Width", "Image1(0).Visible", "Text3(0).Top", "Text3(0).Left",
                    "Text3(0).Text", "Text3(0).Visible",
                    // The number box is made before its icon.
                    "Text3.create(1)", "Image1.create(1)", "Image1(1).Picture", "Image1(1).Top",
                    "Image1(1).Left", "Image1(1).Height", "Image1(1).Width", "Image1(1).Visible",
                    "Text3(1).Top", "Text3(1).Left", "Text3(1).Text", "Text3(1).Visible"));
    fake.log.clear();
    preview::DrawPagesS2(tool, ui);
    // The back side is placed alike but not shown.
    EXPECT_THAT(fake.log, ElementsAre("Image2(0).Picture", "Image2(0).Top", "Image2(0).Left",
                                      "Image2(0).Height", "Image2(0).Width", "Text4(0).Top",
                                      "Text4(0).Left", "Text4(0).Text", "Text4.create(1)",
                                      "Image2.create(1)", "Image2(1).Picture", "Image2(1).Top",
                                      "Image2(1).Left", "Image2(1).Height", "Image2(1).Width",
                                      "Text4(1).Top", "Text4(1).Left", "Text4(1).Text"));
    EXPECT_FALSE(fake.Image2.element(1).isVisible());
    EXPECT_FALSE(fake.Text4.element(1).isVisible());
    // A made element copies element 0 in everything but visibility.
    EXPECT_EQ(fake.Text4.element(1).height(), 13.0f);
}

TEST_F(Markers, APageAtTheSheetsCornerSitsAtTheOutlinesCorner) {
    addPage({0, 0, 100, 200});
    drawBothSides();
    const auto& front = fake.Image1.element(0);
    EXPECT_EQ(front.top(), tool.sheetTop);
    EXPECT_EQ(front.left(), tool.sheetLeft);
    EXPECT_EQ(front.height(), 50.0f);
    EXPECT_EQ(front.width(), 100.0f);
    // Mirrored left-right, the page lies at the back's top right: 1000 - 200 = 800.
    const auto& back = fake.Image2.element(0);
    EXPECT_EQ(back.top(), 90.0f);
    EXPECT_EQ(back.left(), 432.0f + 400.0f);
    EXPECT_EQ(back.width(), 100.0f);
}

TEST_F(Markers, NumbersAreCentredOnTheirIconsInFractionsOfAUnit) {
    // Icon 100 x 33 at (80, 24); number box 25 x 12 as designed.
    addPage({0, 0, 66, 200});
    addPage({20, 20, 66, 200});
    drawBothSides();
    for (const std::int16_t i : {std::int16_t{0}, std::int16_t{1}}) {
        const auto& icon = fake.Image1.element(i);
        const auto& number = fake.Text3.element(i);
        ASSERT_EQ(icon.height(), 33.0f);
        EXPECT_EQ(number.top(), icon.top() + 10.5f) << "marker " << i;
        EXPECT_EQ(number.left(), icon.left() + 37.5f) << "marker " << i;
        EXPECT_TRUE(number.isVisible());
    }
    EXPECT_EQ(fake.Text3.element(1).text(), "3");
    EXPECT_EQ(fake.Text4.element(1).text(), "4");
}

struct RoundingCase {
    const char* situation;
    double value;  // window units once scaled
    float expected;
};

class Rounding : public Markers, public ::testing::WithParamInterface<RoundingCase> {};

TEST_P(Rounding, PositionsAndSizesAreWholeUnits) {
    tool.sheetTop = 0;
    tool.sheetLeft = 0;
    tool.fitScale = 1.0;
    const double v = GetParam().value;
    addPage({v, v, v, v});
    geometry::createSide2(tool);
    preview::DrawPages(tool, ui);
    const auto& icon = fake.Image1.element(0);
    const float expected = GetParam().expected;
    EXPECT_EQ(icon.top(), expected);
    EXPECT_EQ(icon.left(), expected);
    EXPECT_EQ(icon.height(), expected);
    EXPECT_EQ(icon.width(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, Rounding,
    ::testing::Values(RoundingCase{"HalfToTheEvenBelow", 2.5, 2},
                      RoundingCase{"HalfToTheEvenAbove", 3.5, 4},
                      RoundingCase{"NegativeHalfToEven", -2.5, -2},
                      RoundingCase{"JustOverHalf", 2.5000001, 3},
                      // Far off the sheet: held at the 16-bit range's ends, no error.
                      RoundingCase{"FarBelowTheSheet", 1e6, 32767},
                      RoundingCase{"FarAboveTheSheet", -1e6, -32768}),
    [](const auto& row) { return std::string(row.param.situation); });

TEST_F(Markers, TheIconShowsWhereThePagesHeadPoints) {
    for (double angle : {0.0, 90.0, 180.0, 270.0, 45.0, 316.0, -90.0}) {
        addPage({0, 0, 100, 100}, angle);
    }
    drawBothSides();
    std::vector<std::string> pictures;
    for (int i = 0; i < tool.pageCount; ++i) {
        pictures.push_back(fake.Image1.element(static_cast<std::int16_t>(i)).picture()->name);
    }
    EXPECT_THAT(pictures,
                ElementsAre("page0", "page90", "page180", "page270", "page0", "page0", "page270"));
}

TEST_F(Markers, OnlyShowSide2ShowsOrHidesTheBack) {
    addPage({0, 0, 100, 100});
    addPage({200, 0, 100, 100});
    geometry::createSide2(tool);
    preview::DrawPages(tool, ui);
    preview::DrawPagesS2(tool, ui);
    EXPECT_FALSE(fake.Image2.element(1).isVisible());
    fake.log.clear();
    preview::ShowSide2(tool, ui, false);
    EXPECT_THAT(fake.log, ElementsAre("Shape2.Visible", "Image2(0).Visible", "Text4(0).Visible",
                                      "Image2(1).Visible", "Text4(1).Visible"));
    EXPECT_FALSE(fake.Image2.element(0).isVisible());
    EXPECT_FALSE(fake.Shape2.isVisible());
    preview::ShowSide2(tool, ui, true);
    EXPECT_TRUE(fake.Shape2.isVisible());
    EXPECT_TRUE(fake.Image2.element(1).isVisible());
    EXPECT_TRUE(fake.Text4.element(1).isVisible());
    EXPECT_TRUE(fake.Image1.element(1).isVisible());
}

TEST_F(Markers, AFlipMovesTheBackMarkersAndKeepsTheirNumbers) {
    addPage({0, 0, 100, 200}, 0);
    addPage({0, 600, 300, 200}, 90);
    addPage({400, 100, 200, 300}, 180);
    drawBothSides();
    const auto before = fake.Image2.element(1).top();
    fake.log.clear();

    tool.flipLeftRight = false;
    geometry::createSide2(tool);
    preview::DrawPagesS2(tool, ui);
    EXPECT_THAT(creations(), ElementsAre());
    EXPECT_THAT(fake.log, Not(Contains(HasSubstr("Visible"))));
    EXPECT_THAT(fake.log, Not(Contains(HasSubstr("Image1"))));
    // Top-bottom: a page at the top of the sheet goes to the bottom, turned about.
    EXPECT_EQ(fake.Image2.element(0).top(), 90.0f + 0.5f * 600);
    EXPECT_EQ(fake.Image2.element(0).left(), 432.0f);
    EXPECT_NE(fake.Image2.element(1).top(), before);
    EXPECT_EQ(fake.Image2.element(0).picture()->name, "page180");
    EXPECT_EQ(fake.Image2.element(2).picture()->name, "page0");
    std::vector<std::string> numbers;
    for (std::int16_t i = 0; i < 3; ++i) {
        numbers.push_back(fake.Text4.element(i).text());
        EXPECT_TRUE(fake.Image2.element(i).isVisible());
    }
    EXPECT_THAT(numbers, ElementsAre("2", "4", "6"));
    EXPECT_EQ(fake.Image2.slots(), 3u);
}

TEST_F(Markers, MakingAMarkerThatExistsIsAnError) {
    addPage({0, 0, 100, 100});
    addPage({0, 0, 100, 100});
    drawBothSides();
    tool.side1Loaded = false;
    EXPECT_THROW(preview::DrawPages(tool, ui), window::ToolkitError);
}

}  // namespace
