#include "geometry/BackSide.h"

#include <climits>
#include <cstddef>
#include <string>

#include "geometry/Orientation.h"
#include "geometry/SheetMirror.h"
#include "state/Errors.h"

namespace geometry {

namespace {

using state::PageTable;

// Writes back row `row` from front row `row`. The columns go in a fixed order
// (angle, the four edges, size, number), each read from the front row just before
// it is needed, so a broken front row stops the rebuild at the first bad cell.
void writeBackRow(state::ToolState& tool, const SheetMirror& mirror, std::size_t row) {
    const PageTable& front = tool.frontPages;
    PageTable& back = tool.backPages;

    back.set(row, PageTable::Angle,
             ReflectAngle(front.at(row, PageTable::Angle), tool.flipLeftRight));
    // The stored size is used, never recomputed from the edges: it is what the
    // capture measured, and the mirrored box must keep it exactly.
    const double height = front.at(row, PageTable::Height);
    const double width = front.at(row, PageTable::Width);
    back.set(row, PageTable::Top, mirror.top(front.at(row, PageTable::Top), height));
    back.set(row, PageTable::Left, mirror.left(front.at(row, PageTable::Left), width));
    back.set(row, PageTable::Bottom, mirror.bottom(front.at(row, PageTable::Bottom), height));
    back.set(row, PageTable::Right, mirror.right(front.at(row, PageTable::Right), width));
    // A mirror never turns the box, so height and width are not swapped.
    back.set(row, PageTable::Height, height);
    back.set(row, PageTable::Width, width);

    const int number = front.number(row);
    if (number == INT_MAX) {
        throw state::OverflowError("back side: page number after " + std::to_string(number));
    }
    back.setNumber(row, number + 1);

    const std::string what = "page " + std::to_string(number);
    if (tool.flipLeftRight) {
        SheetMirror::requireExact(front.at(row, PageTable::Left), front.at(row, PageTable::Right),
                                  width, back.at(row, PageTable::Left),
                                  back.at(row, PageTable::Right), what);
    } else {
        SheetMirror::requireExact(front.at(row, PageTable::Top), front.at(row, PageTable::Bottom),
                                  height, back.at(row, PageTable::Top),
                                  back.at(row, PageTable::Bottom), what);
    }
}

}  // namespace

void createSide2(state::ToolState& tool) {
    if (tool.pageCount < 0) {
        throw state::TableError("back side: page count " + std::to_string(tool.pageCount));
    }
    const auto rows = static_cast<std::size_t>(tool.pageCount);
    // Always a new table: the back side is derived from the front side and the
    // direction alone, never from an earlier back table.
    tool.backPages = PageTable(rows + 1);
    if (rows == 0) {
        return;  // nothing to mirror, so the sheet size is not needed
    }
    const SheetMirror mirror(tool.sheetWidth.value(), tool.sheetHeight.value(), tool.flipLeftRight);
    for (std::size_t row = 0; row < rows; ++row) {
        writeBackRow(tool, mirror, row);
    }
}

}  // namespace geometry
