#pragma once

// The back side of the sheet, computed from the front side.

#include "state/ToolState.h"

namespace geometry {

// Rebuilds `backPages` whole from `frontPages`: rows 0 .. pageCount - 1 hold the
// front rectangles mirrored across the sheet in the direction `flipLeftRight`
// selects, with mirrored rotation and page number + 1; row pageCount stays empty.
// Uses the stored height and width of each front row. With rows to mirror the
// sheet size must be set (an unset one throws std::bad_optional_access); a
// missing front row or cell throws state::TableError, a negative pageCount too.
void createSide2(state::ToolState& tool);

}  // namespace geometry
