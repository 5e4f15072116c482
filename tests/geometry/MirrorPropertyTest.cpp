#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "geometry/BackSide.h"
#include "geometry/LineMirror.h"
#include "tests/geometry/GeometryFixture.h"

namespace {

using geometry::createSide2;
using state::PageTable;

// Random sheets, each with a few dozen random rectangles inside it. Angles are
// right angles half the time and anything from two turns back to two turns on
// otherwise (a full turn exactly, which top-bottom does not undo, never comes up).
class RandomSheets : public testing::Test {
protected:
    static constexpr int kSheets = 200;
    static constexpr int kRectsPerSheet = 40;

    state::ToolState randomSheet() {
        state::ToolState tool;
        tool.sheetWidth = uniform(50.0, 5000.0);
        tool.sheetHeight = uniform(50.0, 5000.0);
        state::newFrontTable(tool);
        for (int i = 0; i < kRectsPerSheet; ++i) {
            // The list form of minmax returns values; the two-argument form would
            // return references to the temporaries.
            const auto [top, bottom] =
                std::minmax({uniform(0.0, *tool.sheetHeight), uniform(0.0, *tool.sheetHeight)});
            const auto [left, right] =
                std::minmax({uniform(0.0, *tool.sheetWidth), uniform(0.0, *tool.sheetWidth)});
            geometry_test::captureRect(tool, {top, left, bottom, right, randomAngle()});
        }
        return tool;
    }

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }

    double randomAngle() {
        if (std::bernoulli_distribution(0.5)(m_random)) {
            return 90.0 * std::uniform_int_distribution<int>(0, 3)(m_random);
        }
        return uniform(-720.0, 720.0);
    }

    std::mt19937_64 m_random{20240611};
};

TEST_F(RandomSheets, MirroringTwiceReturnsTheFrontSide) {
    for (int sheet = 0; sheet < kSheets; ++sheet) {
        state::ToolState tool = randomSheet();
        const double slack = 1e-9 * std::max(*tool.sheetWidth, *tool.sheetHeight);
        for (const bool flipLeftRight : {true, false}) {
            tool.flipLeftRight = flipLeftRight;
            state::ToolState turned = tool;
            createSide2(turned);
            turned.frontPages = turned.backPages;
            createSide2(turned);
            for (std::size_t row = 0; row < kRectsPerSheet; ++row) {
                for (int column = 0; column <= PageTable::Width; ++column) {
                    EXPECT_NEAR(turned.backPages.at(row, column), tool.frontPages.at(row, column),
                                slack)
                        << "sheet " << sheet << " row " << row << " column " << column;
                }
                EXPECT_EQ(turned.backPages.number(row), tool.frontPages.number(row) + 2);
            }
        }
    }
}

TEST_F(RandomSheets, TheBackSideStaysOnTheSheetAndAgreesWithTheLineMirror) {
    for (int sheet = 0; sheet < kSheets; ++sheet) {
        state::ToolState tool = randomSheet();
        const double width = *tool.sheetWidth;
        const double height = *tool.sheetHeight;
        const double slack = 1e-9 * std::max(width, height);
        for (const bool flipLeftRight : {true, false}) {
            tool.flipLeftRight = flipLeftRight;
            createSide2(tool);
            const PageTable& front = tool.frontPages;
            const PageTable& back = tool.backPages;
            for (std::size_t row = 0; row < kRectsPerSheet; ++row) {
                EXPECT_GE(back.at(row, PageTable::Top), -slack);
                EXPECT_GE(back.at(row, PageTable::Left), -slack);
                EXPECT_LE(back.at(row, PageTable::Bottom), height + slack);
                EXPECT_LE(back.at(row, PageTable::Right), width + slack);
                EXPECT_NEAR(back.at(row, PageTable::Bottom) - back.at(row, PageTable::Top),
                            front.at(row, PageTable::Height), slack);
                EXPECT_NEAR(back.at(row, PageTable::Right) - back.at(row, PageTable::Left),
                            front.at(row, PageTable::Width), slack);

                const state::MirrorResult line = geometry::reflectBounds(
                    tool, front.at(row, PageTable::Top), front.at(row, PageTable::Left),
                    front.at(row, PageTable::Bottom), front.at(row, PageTable::Right),
                    front.at(row, PageTable::Angle));
                EXPECT_EQ(line.bounds.top, back.at(row, PageTable::Top));
                EXPECT_EQ(line.bounds.left, back.at(row, PageTable::Left));
                EXPECT_EQ(line.bounds.bottom, back.at(row, PageTable::Bottom));
                EXPECT_EQ(line.bounds.right, back.at(row, PageTable::Right));
                EXPECT_EQ(line.angle, back.at(row, PageTable::Angle));
            }
        }
    }
}

}  // namespace
