#pragma once

// Fits both sheet outlines to the active document's page size.
// The sheet is in host units; the outlines and the designed box in window units.

#include <stdexcept>

#include "state/ToolState.h"
#include "window/Toolkit.h"

namespace preview {

// Reads the active document's page size into sheetWidth and sheetHeight and
// sizes Shape1 to the largest outline of the sheet's proportions inside the
// designed box (boxWidth x boxHeight), anchored at its top-left corner; Shape2
// takes whatever size Shape1 then reports. fitScale is the smaller of the two
// ratios box / sheet. A page without a positive finite size throws SheetError.
void drawSheet(state::ToolState& tool, window::Controls& ui);

class SheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace preview
