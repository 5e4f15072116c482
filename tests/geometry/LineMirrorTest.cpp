#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "geometry/BackSide.h"
#include "geometry/LineMirror.h"
#include "tests/geometry/GeometryFixture.h"

namespace {

using geometry::createSide2;
using geometry::reflectBounds;
using geometry_test::Rect;
using state::MirrorResult;
using state::PageTable;

struct LineCase {
    const char* situation;
    bool flipLeftRight;
    Rect line;
    MirrorResult mirrored;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.situation;
}

class LineMirror : public geometry_test::SheetTest, public testing::WithParamInterface<LineCase> {};

TEST_P(LineMirror, MirrorsTheLineOnTheSheet) {
    const LineCase& c = GetParam();
    m_tool.flipLeftRight = c.flipLeftRight;
    EXPECT_EQ(
        reflectBounds(m_tool, c.line.top, c.line.left, c.line.bottom, c.line.right, c.line.angle),
        c.mirrored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineMirror,
    testing::Values(
        // A horizontal line has no height: only top-bottom moves it up or down.
        LineCase{"horizontal_centred_left_right",
                 true,
                 {100, 200, 100, 800, 0},
                 {{100, 200, 100, 800}, 0}},
        LineCase{"horizontal_centred_top_bottom",
                 false,
                 {100, 200, 100, 800, 0},
                 {{600, 200, 600, 800}, 180}},
        // A vertical line has no width: only left-right moves it across.
        LineCase{"vertical_left_right", true, {50, 100, 250, 100, 0}, {{50, 900, 250, 900}, 0}},
        LineCase{"vertical_top_bottom", false, {50, 100, 250, 100, 0}, {{450, 100, 650, 100}, 180}},
        LineCase{"slanted_left_right", true, {10, 20, 110, 220, 30}, {{10, 780, 110, 980}, 330}},
        LineCase{"slanted_top_bottom", false, {10, 20, 110, 220, 30}, {{590, 20, 690, 220}, 330}}),
    [](const auto& row) { return std::string(row.param.situation); });

using LineAndPage = geometry_test::SheetTest;

// A line lying exactly on a captured rectangle's bounds goes where that page goes.
TEST_F(LineAndPage, ALineOnAPageLandsOnItsBackRow) {
    const Rect rects[] = {{50, 100, 350, 300, 90},
                          {12.3, 45.6, 78.9, 101.1, 33.3},
                          {0.1, 0.2, 699.9, 999.7, -12.5},
                          {333.3, 666.6, 444.4, 777.7, 450}};
    for (const Rect& r : rects) {
        capture(r);
    }
    for (const bool flipLeftRight : {true, false}) {
        m_tool.flipLeftRight = flipLeftRight;
        createSide2(m_tool);
        for (std::size_t row = 0; row < std::size(rects); ++row) {
            const Rect& r = rects[row];
            const MirrorResult line =
                reflectBounds(m_tool, r.top, r.left, r.bottom, r.right, r.angle);
            const PageTable& back = m_tool.backPages;
            EXPECT_EQ(line, (MirrorResult{
                                {back.at(row, PageTable::Top), back.at(row, PageTable::Left),
                                 back.at(row, PageTable::Bottom), back.at(row, PageTable::Right)},
                                back.at(row, PageTable::Angle)}))
                << "row " << row << (flipLeftRight ? " left-right" : " top-bottom");
        }
    }
}

TEST_F(LineAndPage, AnUnsetSheetIsAnError) {
    m_tool.sheetWidth.reset();
    EXPECT_THROW(reflectBounds(m_tool, 0, 0, 10, 10, 0), std::bad_optional_access);
}

}  // namespace
