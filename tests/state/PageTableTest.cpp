#include <gtest/gtest.h>

#include "state/Errors.h"
#include "state/PageTable.h"

namespace {

using state::PageTable;
using state::TableError;

TEST(PageTable, NewTableHasOnlyEmptyCells) {
    const PageTable table(3);
    EXPECT_EQ(table.rowCount(), 3u);
    for (std::size_t row = 0; row < 3; ++row) {
        EXPECT_TRUE(table.isRowEmpty(row));
    }
}

TEST(PageTable, ReadingAnEmptyCellIsAnError) {
    PageTable table(2);
    table.set(0, PageTable::Top, 50.0);
    EXPECT_EQ(table.at(0, PageTable::Top), 50.0);
    EXPECT_THROW(table.at(0, PageTable::Left), TableError);
    EXPECT_THROW(table.number(1), TableError);
}

TEST(PageTable, CellsOutsideTheTableAreErrors) {
    PageTable table(2);
    EXPECT_THROW(table.at(2, 0), TableError);
    EXPECT_THROW(table.at(0, 8), TableError);
    EXPECT_THROW(table.at(0, -1), TableError);
    EXPECT_THROW(table.set(2, 0, 1.0), TableError);
    EXPECT_THROW(table.setNumber(5, 1), TableError);
    EXPECT_THROW(PageTable().isEmpty(0, 0), TableError);
}

TEST(PageTable, ExtendingKeepsEveryRow) {
    PageTable table(2);
    table.set(0, PageTable::Angle, 90.0);
    table.setNumber(1, 3);
    table.resize(40);
    EXPECT_EQ(table.rowCount(), 40u);
    EXPECT_EQ(table.at(0, PageTable::Angle), 90.0);
    EXPECT_EQ(table.number(1), 3);
    EXPECT_TRUE(table.isRowEmpty(39));
}

// Each cell is told apart from the others and from an empty one.
TEST(PageTable, TablesAreEqualCellForCell) {
    PageTable a(2);
    PageTable b(2);
    EXPECT_EQ(a, b);
    a.set(1, PageTable::Width, 0.0);
    EXPECT_NE(a, b) << "a cell holding 0 is not an empty cell";
    EXPECT_FALSE(a.isEmpty(1, PageTable::Width));
    EXPECT_TRUE(a.isEmpty(1, PageTable::Height));
    b.set(1, PageTable::Height, 0.0);
    EXPECT_NE(a, b);
    b = a;
    b.setNumber(0, 7);
    a.setNumber(0, 7);
    EXPECT_EQ(a, b);
    a.set(0, PageTable::Right, -12.5);
    EXPECT_EQ(a.at(0, PageTable::Right), -12.5);
    EXPECT_NE(a, b);
}

TEST(PageTable, ClearDropsEveryRow) {
    PageTable table(4);
    table.clear();
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_THROW(table.at(0, 0), TableError);
}

}  // namespace
