#pragma once

// Geometry of Scribus page items. Lengths are points, x to the right, y
// downwards. `rotation` is Scribus's stored ROT: degrees clockwise on screen
// about the frame's origin (the unrotated frame's top-left corner).

#include <string>

#include "host/Host.h"
#include "host/ItemGeometry.h"

namespace host::sla {

struct Frame {
    double x = 0.0;  // origin
    double y = 0.0;
    double width = 0.0;   // lines: the length
    double height = 0.0;  // ignored for lines
    double rotation = 0.0;
    bool line = false;
};

// cos and sin of `degrees`, exact at multiples of 90.
void cosSin(double degrees, double& cosine, double& sine);

// The axis-aligned box of the frame as drawn, without stroke: top, left, bottom, right.
Bounds boxOf(const Frame& frame);

// The frame with its rotation kept, moved and sized so that its box becomes `box`
// (host::fitFrame). Lines run along their angle from the box corner they start
// at. Throws HostError when no frame at that angle has that box.
Frame fittedToBox(const Frame& frame, const Bounds& box);

// The frame turned to `rotation` (clockwise, as stored) about the centre of its box.
Frame rotatedAboutCentre(const Frame& frame, double rotation);

// The outline path of a width × height rectangle, as Scribus writes it.
std::string rectanglePath(double width, double height);

}  // namespace host::sla
