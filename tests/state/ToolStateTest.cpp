#include <gtest/gtest.h>

#include "state/Errors.h"
#include "state/ToolState.h"

namespace {

using state::PageTable;
using state::ToolState;

// Writes `count` rectangles the way a capture does: fill row pageCount, then count it.
void capture(ToolState& tool, int count) {
    state::newFrontTable(tool);
    for (int i = 0; i < count; ++i) {
        const auto row = static_cast<std::size_t>(tool.pageCount);
        tool.frontPages.set(row, PageTable::Top, i);
        tool.frontPages.setNumber(row, state::frontPageNumber(tool.pageCount));
        state::countFrontPage(tool);
    }
}

TEST(ToolState, InitialValues) {
    const ToolState tool;
    EXPECT_EQ(tool.hostApp, nullptr);
    EXPECT_FALSE(tool.sheetWidth.has_value());
    EXPECT_FALSE(tool.fitScale.has_value());
    EXPECT_EQ(tool.pageCount, 0);
    EXPECT_EQ(tool.frontCapacity, 32);
    EXPECT_EQ(tool.frontPages.rowCount(), 0u);
    EXPECT_EQ(tool.backPages.rowCount(), 0u);
    EXPECT_TRUE(tool.flipLeftRight);
    EXPECT_FALSE(tool.side1Loaded);
    EXPECT_FALSE(tool.side2Loaded);
    EXPECT_TRUE(tool.reflectUp && tool.duplicateUp && tool.forgetUp && tool.refreshUp);
    EXPECT_EQ(tool.winTop, 0);
}

struct GrowthCase {
    const char* situation;
    int rectangles;
    int capacity;
};

class FrontTableGrowth : public testing::TestWithParam<GrowthCase> {};

TEST_P(FrontTableGrowth, GrowsRightAfterEveryThirtySecondRectangle) {
    ToolState tool;
    capture(tool, GetParam().rectangles);
    EXPECT_EQ(tool.pageCount, GetParam().rectangles);
    EXPECT_EQ(tool.frontCapacity, GetParam().capacity);
    EXPECT_EQ(tool.frontPages.rowCount(), static_cast<std::size_t>(GetParam().capacity) + 1);
    for (int row = 0; row < tool.pageCount; ++row) {
        EXPECT_EQ(tool.frontPages.at(static_cast<std::size_t>(row), PageTable::Top), row);
        EXPECT_EQ(tool.frontPages.number(static_cast<std::size_t>(row)), 2 * row + 1);
    }
    for (std::size_t row = static_cast<std::size_t>(tool.pageCount);
         row < tool.frontPages.rowCount(); ++row) {
        EXPECT_TRUE(tool.frontPages.isRowEmpty(row));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrontTableGrowth,
    testing::Values(GrowthCase{"empty_spread", 0, 32}, GrowthCase{"one_short_of_full", 31, 32},
                    GrowthCase{"exactly_full", 32, 64}, GrowthCase{"one_past_full", 33, 64},
                    GrowthCase{"second_growth", 64, 96}, GrowthCase{"most_possible", 32735, 32736}),
    [](const auto& row) { return std::string(row.param.situation); });

TEST(ToolState, TheRectangleThatWouldOverflowTheCapacityIsAnError) {
    ToolState tool;
    capture(tool, 32735);
    const auto row = static_cast<std::size_t>(tool.pageCount);
    tool.frontPages.set(row, PageTable::Top, 1.0);
    EXPECT_THROW(state::countFrontPage(tool), state::OverflowError);
    // Nothing wrapped around.
    EXPECT_EQ(tool.frontCapacity, 32736);
    EXPECT_EQ(tool.pageCount, 32735);
}

TEST(ToolState, ANewCaptureDropsThePreviousRows) {
    ToolState tool;
    capture(tool, 3);
    tool.pageCount = 0;
    state::newFrontTable(tool);
    EXPECT_EQ(tool.frontPages.rowCount(), 33u);
    EXPECT_TRUE(tool.frontPages.isRowEmpty(0));
}

}  // namespace
