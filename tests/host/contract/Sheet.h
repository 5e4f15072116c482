#pragma once

// A sheet for the adapter contract, described apart from any host: a page
// size and the page's items in order, each with its type, name, box as drawn
// and angle (host/Host.h conventions), groups with their members. Every
// adapter fixture builds it in its own host.

#include <string>
#include <vector>

#include "host/Host.h"

namespace contract {

struct SheetItem {
    std::string type;  // "Rectangle", "Line", "Group", or another such as "TextFrame"
    std::string name;
    host::Bounds box;                // groups: the box holding their members' boxes
    double angle = 0.0;              // groups: always 0
    std::vector<SheetItem> members;  // groups only
};

struct Sheet {
    double pageWidth = 0.0;
    double pageHeight = 0.0;
    std::vector<SheetItem> items;
};

// A 600 x 400 page: rectangles at 0, 90, 30, 270 and 180 degrees, a
// horizontal and a vertical line, a text frame, and the group g1 holding r90
// and the nested group g2 (r30 and the vertical line v).
const Sheet& standardSheet();

// The item named `name` anywhere in the sheet, members included.
const SheetItem& sheetItem(const std::string& name);

}  // namespace contract
