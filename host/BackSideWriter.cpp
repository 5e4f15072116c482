#include "host/BackSideWriter.h"

#include <string>
#include <vector>

#include "geometry/LineMirror.h"
#include "host/Host.h"
#include "host/HostError.h"

namespace host {

namespace {

enum class Kind { Rectangle, Line, Other };

Kind kindOf(PageItem& item) {
    const std::string type = item.typeName();
    if (type == "Rectangle") {
        return Kind::Rectangle;
    }
    return type == "Line" ? Kind::Line : Kind::Other;
}

std::string rectangleCount(long count) {
    return std::to_string(count) + (count == 1 ? " page rectangle" : " page rectangles");
}

// Rectangles added in the host since the last capture have no back row; rather
// than give them made-up bounds, refuse before any item is changed.
void requireBackRows(const std::vector<Kind>& kinds, int pageCount) {
    long rectangles = 0;
    for (const Kind kind : kinds) {
        rectangles += kind == Kind::Rectangle ? 1 : 0;
    }
    if (rectangles > pageCount) {
        throw HostError("The page now holds " + rectangleCount(rectangles) + ", but " +
                        std::to_string(pageCount) + (pageCount == 1 ? " was" : " were") +
                        " read from the sheet, so the back side cannot be placed. "
                        "Run Quarvel again to read the sheet anew.");
    }
}

void moveRectangle(const state::ToolState& tool, PageItem& item, std::size_t row) {
    using state::PageTable;
    const auto& back = tool.backPages;
    item.setVisibleBounds({back.at(row, PageTable::Top), back.at(row, PageTable::Left),
                           back.at(row, PageTable::Bottom), back.at(row, PageTable::Right)});
    item.setRotationAngle(back.at(row, PageTable::Angle));
}

void mirrorLine(const state::ToolState& tool, PageItem& item) {
    const Bounds bounds = item.visibleBounds();
    const double angle = item.rotationAngle();
    const state::MirrorResult mirrored =
        geometry::reflectBounds(tool, bounds.top, bounds.left, bounds.bottom, bounds.right, angle);
    item.setRotationAngle(mirrored.angle);
    item.setVisibleBounds(mirrored.bounds);
}

std::shared_ptr<Spread> duplicatePage(const state::ToolState& tool) {
    return tool.curSpread->pages()->item(1)->duplicate();
}

}  // namespace

void writeBackSide(state::ToolState& tool) {
    tool.curSpread = duplicatePage(tool);
    tool.spreadItems = tool.curSpread->pageItems();
    auto items = tool.spreadItems->enumerate();

    std::vector<Kind> kinds;
    kinds.reserve(items.size());
    for (const auto& item : items) {
        kinds.push_back(kindOf(*item));
    }
    requireBackRows(kinds, tool.pageCount);

    // Each item is let go once it is written: a sheet of 32,735 pages would
    // otherwise hold them all until the last one is done.
    std::size_t row = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (kinds[i] == Kind::Rectangle) {
            moveRectangle(tool, *items[i], row++);
        } else if (kinds[i] == Kind::Line) {
            mirrorLine(tool, *items[i]);
        }
        items[i].reset();
    }
}

void duplicateFirstPage(const state::ToolState& tool) {
    duplicatePage(tool);
}

}  // namespace host
