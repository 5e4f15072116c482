#pragma once

#include "state/ToolState.h"

namespace host {

// Writes the back side: duplicates the first page of the working spread, which
// the duplicate then replaces; gives the k-th rectangle of the duplicate the
// bounds and angle of back row k, and mirrors every line across the sheet.
// Other items stay as they are. Throws HostError when the duplicate holds
// more rectangles than there are back rows; the duplicate then exists, but
// none of its items has been changed.
void writeBackSide(state::ToolState& tool);

// Adds a plain copy of the working spread's first page; changes no field.
void duplicateFirstPage(const state::ToolState& tool);

}  // namespace host
