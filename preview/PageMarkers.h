#pragma once

// Page markers: for every captured page an icon, stretched to the page's
// scaled size and turned to show its head, with the page number centred on it.
// Positions and sizes are whole window units, rounded half to even; a value
// beyond the 16-bit range (a page far off the sheet) is held at the range's end.

#include "state/ToolState.h"
#include "window/Toolkit.h"

namespace preview {

// Front markers (Image1, Text3) on Shape1, from frontPages; shown.
void DrawPages(state::ToolState& tool, window::Controls& ui);

// Back markers (Image2, Text4) on Shape2, from backPages; visibility untouched.
void DrawPagesS2(state::ToolState& tool, window::Controls& ui);

// Shows or hides the back outline and every back marker.
void ShowSide2(const state::ToolState& tool, window::Controls& ui, bool show);

}  // namespace preview
