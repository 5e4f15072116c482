#pragma once

// Control geometry as the tool sets it: singles in window units, kept exactly
// as set; a control shows it rounded to whole pixels.

#include <windows.h>

#include <cmath>

#include "window/ControlRecords.h"

namespace window::win32 {

struct ControlGeometry {
    float left = 0, top = 0, width = 0, height = 0;

    // The pixel rectangle: each of left, top, width and height rounded, halves to even.
    RECT pixels() const {
        const auto px = [](float value) { return static_cast<LONG>(std::nearbyint(value)); };
        return {px(left), px(top), px(left) + px(width), px(top) + px(height)};
    }
    // Whether the point lies inside or on the edge of the exact rectangle; a
    // rectangle without width or height contains nothing.
    bool contains(double x, double y) const {
        return within(x, left, width) && within(y, top, height);
    }

private:
    static bool within(double at, float start, float extent) {
        const double low = extent < 0 ? double(start) + extent : double(start);
        const double high = extent < 0 ? double(start) : double(start) + extent;
        return low != high && at >= low && at <= high;
    }
};

// The position and size part of every control, with a hook that tells the
// concrete control to show the change, given the geometry before it.
template <class Interface>
using StoredGeometry = window::StoredGeometry<Interface, ControlGeometry>;

}  // namespace window::win32
