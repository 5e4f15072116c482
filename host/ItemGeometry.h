#pragma once

// Plane geometry of page items, shared by the host adapters that keep items
// themselves. Host coordinates: x to the right, y downwards, host units;
// angles are degrees, counter-clockwise on screen positive (a turn by 90 takes
// a point right of the centre to above it), as host/Host.h gives them.

#include "host/Host.h"

namespace host {

// Relative tolerance of every comparison here: values closer than this times
// their size (at least 1) count as equal.
inline constexpr double kGeometryTolerance = 1e-9;

bool nearlyEqual(double a, double b);

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// An item's frame before rotation: its centre and side lengths (a line has one side 0).
struct Frame {
    Point centre;
    double width = 0.0;
    double height = 0.0;
};

// Cosine and sine of an angle; exact for every multiple of 90 degrees.
struct Turn {
    double cos = 1.0;
    double sin = 0.0;
};

Turn turnOf(double degrees);

// `degrees` reduced to [0, 360).
double normalizedDegrees(double degrees);

// `point` turned about `pivot` by `degrees`.
Point turnAbout(Point point, Point pivot, double degrees);

Point centreOf(const Bounds& box);

// The smallest box holding both boxes.
Bounds unite(const Bounds& a, const Bounds& b);

// The axis-aligned box of `frame` drawn turned by `degrees` about its centre.
// Turning a frame about the centre of its box is changing `degrees` alone.
Bounds boxOf(const Frame& frame, double degrees);

// The frame, centred in `box`, that turned by `degrees` has `box` as its box.
// A box of the frame's own size only moves it. Where every frame with the same
// perimeter has the same box (45 degrees and its odd multiples), `current` is
// scaled uniformly. Throws HostError when `box` is inverted or no frame at that
// angle fits it.
Frame fitFrame(const Frame& current, double degrees, const Bounds& box);

}  // namespace host
