#pragma once

// Mirroring one line item to the back of the sheet.

#include "state/MirrorResult.h"
#include "state/ToolState.h"

namespace geometry {

// The line with visible bounds (top, left, bottom, right; host units) and rotation
// `angle` (degrees), mirrored across the sheet in the direction `flipLeftRight`
// selects: the same rule the back-side table applies to a page rectangle, with the
// size taken from the given bounds. Reads the sheet size (must be set) and the
// direction; changes nothing.
state::MirrorResult reflectBounds(const state::ToolState& tool, double top, double left,
                                  double bottom, double right, double angle);

}  // namespace geometry
