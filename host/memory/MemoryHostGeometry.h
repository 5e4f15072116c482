#pragma once

// Plane geometry of the in-memory host. Host coordinates: x to the right, y downwards, host
// units; bounds are top, left, bottom, right; angles are degrees, counter-clockwise on screen
// positive (a turn by 90 takes a point right of the centre to above it).

#include "host/Host.h"

namespace host::memory {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// An item's frame before rotation: its centre and side lengths (a line has height 0).
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

// `point` turned about `pivot` by `degrees`.
Point turnAbout(Point point, Point pivot, double degrees);

Point centreOf(const Bounds& box);

// The smallest box holding both boxes.
Bounds unite(const Bounds& a, const Bounds& b);

// The axis-aligned box of `frame` drawn turned by `degrees` about its centre.
Bounds boxOf(const Frame& frame, double degrees);

// The frame, centred in `box`, that turned by `degrees` has `box` as its box. Where every frame
// with the same perimeter has the same box (45 degrees and its odd multiples), `current` is
// scaled uniformly. Throws HostError when `box` is inverted or no frame at that angle fits it.
Frame fitFrame(const Frame& current, double degrees, const Bounds& box);

}  // namespace host::memory
