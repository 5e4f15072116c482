#pragma once

// Conversions of computed doubles to the 16-bit whole numbers the window keeps.

#include <cstdint>

namespace state {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Throws OverflowError outside -32768 .. 32767 or for a value that is not finite.
std::int16_t toInt16(double value);

// The same rounding, but a value outside the range is held at its nearest end.
// Not-a-number still throws: there is no sensible end to hold it at.
std::int16_t toInt16Clamped(double value);

}  // namespace state
