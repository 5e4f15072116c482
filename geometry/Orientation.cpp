#include "geometry/Orientation.h"

namespace geometry {

std::int16_t AproxAngle(double angle) {
    // The bands are tested in this order with exact comparisons, so a band limit
    // falls to the band below it, and the first test catches every angle above 315
    // as well (450 is 0, not 90). Minus zero compares equal to 0 and so gives 0.
    if ((angle >= 0.0 && angle <= 45.0) || angle > 315.0) {
        return 0;
    }
    if (angle > 45.0 && angle <= 135.0) {
        return 90;
    }
    if (angle > 135.0 && angle <= 225.0) {
        return 180;
    }
    // 225 < angle <= 315 and every negative angle, whatever its size.
    return 270;
}

namespace {

// Turning about the vertical axis mirrors only the angles of one full turn; a
// negative angle, 0, 180 and anything from 360 on pass through unchanged.
double reflectLeftRight(double angle) {
    if (angle > 0.0 && angle < 180.0) {
        return 360.0 - angle;
    }
    if (angle > 180.0 && angle < 360.0) {
        return 360.0 - angle;
    }
    return angle;
}

// Turning about the horizontal axis turns a head pointing up or down round and
// keeps one pointing sideways. Only the exact right angles are special: anything
// else, however close to one and whatever its range, takes 360 - angle.
double reflectTopBottom(double angle) {
    const bool rightAngle = angle == 0.0 || angle == 90.0 || angle == 180.0 || angle == 270.0;
    if (!rightAngle) {
        return 360.0 - angle;
    }
    if (angle == 0.0 || angle == 180.0) {
        return 180.0 - angle;
    }
    return angle;
}

}  // namespace

double ReflectAngle(double angle, bool flipLeftRight) {
    return flipLeftRight ? reflectLeftRight(angle) : reflectTopBottom(angle);
}

}  // namespace geometry
