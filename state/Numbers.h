#pragma once

// Conversion of computed doubles to the 16-bit whole numbers the window keeps.

#include <cstdint>

namespace state {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); a
// value beyond -32768 .. 32767 is held at the nearer end of that range, so a
// page far off the sheet or a window far down a tall screen never ends the
// tool. Not-a-number throws OverflowError: there is no end to hold it at.
std::int16_t toInt16Clamped(double value);

}  // namespace state
