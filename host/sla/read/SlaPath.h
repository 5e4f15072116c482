#pragma once

// Scribus outline paths (the path attribute of an item): SVG path data in
// frame coordinates, points, y downwards.

#include <string>

namespace host::sla {

// An outline path in frame coordinates scaled by (sx, sy). Throws HostError on
// commands it cannot scale.
std::string scaledPath(const std::string& path, double sx, double sy);

}  // namespace host::sla
