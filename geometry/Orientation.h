#pragma once

// Rules on rotation angles. Angles are degrees exactly as the host reports an
// item's rotation; neither rule reduces an angle to a range first.

#include <cstdint>

namespace geometry {

// The page-icon direction of an angle: 0, 90, 180 or 270. Each band limit
// (45, 135, 225, 315) belongs to the band below it; every angle above 315 gives 0
// and every negative angle gives 270.
std::int16_t AproxAngle(double angle);

// The rotation an item on the front of the sheet has on the back once the sheet
// is turned over: about its vertical axis when `flipLeftRight` is true, about its
// horizontal axis when it is false.
double ReflectAngle(double angle, bool flipLeftRight);

}  // namespace geometry
