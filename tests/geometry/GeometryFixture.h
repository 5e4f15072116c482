#pragma once

// A tool state on a 1000 x 700 sheet with front rectangles written the way a
// capture writes them.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

#include "state/ToolState.h"

namespace geometry_test {

// Top, left, bottom, right (host units) and rotation angle (degrees).
struct Rect {
    double top;
    double left;
    double bottom;
    double right;
    double angle;
};

inline void captureRect(state::ToolState& tool, const Rect& rect) {
    using state::PageTable;
    const auto row = static_cast<std::size_t>(tool.pageCount);
    tool.frontPages.set(row, PageTable::Top, rect.top);
    tool.frontPages.set(row, PageTable::Left, rect.left);
    tool.frontPages.set(row, PageTable::Bottom, rect.bottom);
    tool.frontPages.set(row, PageTable::Right, rect.right);
    tool.frontPages.set(row, PageTable::Angle, rect.angle);
    tool.frontPages.set(row, PageTable::Height, rect.bottom - rect.top);
    tool.frontPages.set(row, PageTable::Width, rect.right - rect.left);
    tool.frontPages.setNumber(row, state::frontPageNumber(tool.pageCount));
    state::countFrontPage(tool);
}

// All eight cells of a table row; the page number as a double.
inline std::array<double, 8> rowOf(const state::PageTable& table, std::size_t row) {
    std::array<double, 8> cells{};
    for (int column = 0; column < state::PageTable::kColumns; ++column) {
        cells[static_cast<std::size_t>(column)] = table.at(row, column);
    }
    return cells;
}

class SheetTest : public testing::Test {
protected:
    SheetTest() {
        m_tool.sheetWidth = 1000.0;
        m_tool.sheetHeight = 700.0;
        state::newFrontTable(m_tool);
    }

    void capture(const Rect& rect) { captureRect(m_tool, rect); }

    state::ToolState m_tool;
};

}  // namespace geometry_test
