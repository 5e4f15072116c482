#include "host/Capture.h"

#include "host/Host.h"

namespace host {

// One pass dissolves every group the enumeration reaches; a group brought to
// the top level by an earlier Ungroup of the same pass may or may not be
// reached, so passes repeat until one finds no group at all.
void dissolveGroups(PageItems& items) {
    bool foundGroup = true;
    while (foundGroup) {
        foundGroup = false;
        for (const auto& item : items.enumerate()) {
            if (item->typeName() == "Group") {
                item->ungroup();
                foundGroup = true;
            }
        }
    }
}

namespace {

void captureRectangle(state::ToolState& tool, PageItem& item) {
    using state::PageTable;
    const auto row = static_cast<std::size_t>(tool.pageCount);
    const Bounds bounds = item.visibleBounds();
    auto& table = tool.frontPages;
    table.set(row, PageTable::Angle, item.rotationAngle());
    table.set(row, PageTable::Top, bounds.top);
    table.set(row, PageTable::Left, bounds.left);
    table.set(row, PageTable::Bottom, bounds.bottom);
    table.set(row, PageTable::Right, bounds.right);
    table.set(row, PageTable::Height, bounds.bottom - bounds.top);
    table.set(row, PageTable::Width, bounds.right - bounds.left);
    table.setNumber(row, state::frontPageNumber(tool.pageCount));
    state::countFrontPage(tool);
}

}  // namespace

void captureSpread(state::ToolState& tool) {
    tool.curSpread = tool.hostApp->activeWindow()->activeSpread();
    tool.spreadItems = tool.curSpread->pageItems();
    state::newFrontTable(tool);
    dissolveGroups(*tool.spreadItems);
    for (const auto& item : tool.spreadItems->enumerate()) {
        if (item->typeName() == "Rectangle") {
            captureRectangle(tool, *item);
        }
    }
}

}  // namespace host
