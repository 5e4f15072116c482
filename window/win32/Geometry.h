#pragma once

// Control geometry as the tool sets it: singles in window units (design
// pixels), kept exactly as set; a control shows it times the window's scale
// (the monitor's dots per inch over 96), rounded to whole pixels.

#include <windows.h>

#include <cmath>

#include "window/ControlRecords.h"

namespace window::win32 {

// The design is drawn at 96 dots per inch; a window's scale is its monitor's
// dots per inch over that.
inline constexpr UINT kDesignDpi = 96;
inline double scaleAt(UINT dpi) {
    return double(dpi) / kDesignDpi;
}
// A design length at `scale`, in whole pixels (halves away from zero), as the
// window's own size and its pictures are rendered.
inline int scaledLength(int design, double scale) {
    return static_cast<int>(std::lround(design * scale));
}

struct ControlGeometry {
    float left = 0, top = 0, width = 0, height = 0;

    // The pixel rectangle at `scale`: each of left, top, width and height
    // scaled and rounded, halves to even.
    RECT pixels(double scale) const {
        const auto px = [scale](float value) {
            return static_cast<LONG>(std::nearbyint(double(value) * scale));
        };
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
