#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "geometry/BackSide.h"
#include "state/Errors.h"
#include "tests/geometry/GeometryFixture.h"

namespace {

using geometry::createSide2;
using geometry_test::Rect;
using state::PageTable;

using Row = std::array<double, 8>;  // top, left, bottom, right, angle, height, width, number

struct BackRowCase {
    const char* situation;
    bool flipLeftRight;
    Rect front;
    Row back;
};

void PrintTo(const BackRowCase& c, std::ostream* os) {
    *os << c.situation;
}

class BackRow : public geometry_test::SheetTest, public testing::WithParamInterface<BackRowCase> {};

// One front rectangle, captured as page 1, on the 1000 x 700 sheet.
TEST_P(BackRow, MirrorsTheFrontRectangle) {
    m_tool.flipLeftRight = GetParam().flipLeftRight;
    capture(GetParam().front);
    createSide2(m_tool);
    EXPECT_EQ(geometry_test::rowOf(m_tool.backPages, 0), GetParam().back);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackRow,
    testing::Values(
        // A rectangle turned 90: height and width stay as measured, not swapped.
        BackRowCase{"upright_left_right",
                    true,
                    {50, 100, 350, 300, 90},
                    {50, 700, 350, 900, 270, 300, 200, 2}},
        BackRowCase{"upright_top_bottom",
                    false,
                    {50, 100, 350, 300, 90},
                    {350, 100, 650, 300, 90, 300, 200, 2}},
        BackRowCase{"on_left_edge_left_right",
                    true,
                    {100, 0, 300, 250, 0},
                    {100, 750, 300, 1000, 0, 200, 250, 2}},
        BackRowCase{"on_left_edge_top_bottom",
                    false,
                    {100, 0, 300, 250, 0},
                    {400, 0, 600, 250, 180, 200, 250, 2}},
        BackRowCase{"on_top_right_corner_top_bottom",
                    false,
                    {0, 800, 120, 1000, 270},
                    {580, 800, 700, 1000, 270, 120, 200, 2}},
        // Fractional edges: any other grouping of the edge arithmetic, or W - right in
        // place of (W - left) - width, is off in the last place.
        BackRowCase{"fractional_left_right",
                    true,
                    {129.2, 108.9, 177.3, 256.2, 12.5},
                    {129.2, 743.8000000000001, 177.3, 891.0999999999999, 347.5, 48.10000000000002,
                     147.29999999999998, 2}},
        BackRowCase{"fractional_top_bottom",
                    false,
                    {129.2, 108.9, 177.3, 256.2, 12.5},
                    {522.6999999999999, 108.9, 570.8000000000001, 256.2, 347.5, 48.10000000000002,
                     147.29999999999998, 2}},
        BackRowCase{"centred_left_right",
                    true,
                    {250, 400, 450, 600, 180},
                    {250, 400, 450, 600, 180, 200, 200, 2}},
        BackRowCase{"centred_top_bottom",
                    false,
                    {250, 400, 450, 600, 180},
                    {250, 400, 450, 600, 0, 200, 200, 2}}),
    [](const auto& row) { return std::string(row.param.situation); });

using BackSide = geometry_test::SheetTest;

TEST_F(BackSide, RightAnglesAndPageNumbers) {
    for (const double angle : {0.0, 90.0, 180.0, 270.0}) {
        capture({10, 10, 60, 40, angle});
    }
    struct Direction {
        bool flipLeftRight;
        std::array<double, 4> angles;
    };
    for (const Direction d :
         {Direction{true, {0, 270, 180, 90}}, Direction{false, {180, 90, 0, 270}}}) {
        m_tool.flipLeftRight = d.flipLeftRight;
        createSide2(m_tool);
        for (std::size_t row = 0; row < 4; ++row) {
            EXPECT_EQ(m_tool.backPages.at(row, PageTable::Angle), d.angles[row]) << row;
            EXPECT_EQ(m_tool.backPages.number(row), 2 * static_cast<int>(row) + 2) << row;
        }
    }
}

// The capture measures the size once; the back box is placed from that, even
// where the edges would give a slightly different one.
TEST_F(BackSide, UsesTheStoredSizeNotTheEdges) {
    capture({50, 100, 350, 300, 0});
    m_tool.frontPages.set(0, PageTable::Height, 310);
    m_tool.frontPages.set(0, PageTable::Width, 190);

    createSide2(m_tool);
    EXPECT_EQ(geometry_test::rowOf(m_tool.backPages, 0), (Row{50, 710, 350, 890, 0, 310, 190, 2}));

    m_tool.flipLeftRight = false;
    createSide2(m_tool);
    EXPECT_EQ(geometry_test::rowOf(m_tool.backPages, 0),
              (Row{340, 100, 660, 300, 180, 310, 190, 2}));
}

TEST_F(BackSide, AnEmptySpreadGivesOneEmptyRowAndReadsNothing) {
    m_tool.backPages = PageTable(5);
    m_tool.backPages.set(0, PageTable::Top, 1.0);
    // Neither a front row nor the sheet size may be read.
    m_tool.frontPages = PageTable();
    m_tool.sheetWidth.reset();
    m_tool.sheetHeight.reset();

    createSide2(m_tool);
    ASSERT_EQ(m_tool.backPages.rowCount(), 1u);
    EXPECT_TRUE(m_tool.backPages.isRowEmpty(0));
}

TEST_F(BackSide, ReplacesTheWholeTableAndLeavesTheSpareRowEmpty) {
    capture({10, 20, 30, 40, 0});
    capture({100, 200, 300, 400, 90});
    capture({1.5, 2.5, 3.5, 4.5, 180});
    // Leftovers of a larger earlier back table must go.
    m_tool.backPages = PageTable(10);
    for (std::size_t row = 0; row < 10; ++row) {
        m_tool.backPages.set(row, PageTable::Angle, 45.0);
    }

    for (const bool flipLeftRight : {true, false}) {
        m_tool.flipLeftRight = flipLeftRight;
        createSide2(m_tool);
        ASSERT_EQ(m_tool.backPages.rowCount(), 4u);
        for (std::size_t row = 0; row < 3; ++row) {
            for (int column = 0; column < PageTable::kColumns; ++column) {
                EXPECT_FALSE(m_tool.backPages.isEmpty(row, column)) << row << ", " << column;
            }
        }
        EXPECT_TRUE(m_tool.backPages.isRowEmpty(3));
    }
}

TEST_F(BackSide, SwitchingTheDirectionTwiceRestoresTheTableExactly) {
    capture({12.3, 45.6, 78.9, 101.1, 33.3});
    capture({0.1, 0.2, 699.9, 999.7, 270});
    capture({333.3, 666.6, 444.4, 777.7, -12.5});

    createSide2(m_tool);
    const PageTable first = m_tool.backPages;
    m_tool.flipLeftRight = false;
    createSide2(m_tool);
    EXPECT_NE(m_tool.backPages, first);
    m_tool.flipLeftRight = true;
    createSide2(m_tool);
    EXPECT_EQ(m_tool.backPages, first);
}

TEST_F(BackSide, BrokenInputsAreErrors) {
    capture({10, 20, 30, 40, 0});

    m_tool.pageCount = 2;  // more pages than filled front rows
    EXPECT_THROW(createSide2(m_tool), state::TableError);

    m_tool.pageCount = -1;
    EXPECT_THROW(createSide2(m_tool), state::TableError);

    m_tool.pageCount = 1;
    m_tool.sheetHeight.reset();
    EXPECT_THROW(createSide2(m_tool), std::bad_optional_access);
}

}  // namespace
