#pragma once

// The geometry of page items in a spread: what the host reports for them and
// the ground its puts stand on. Sheet coordinates are host units from the
// sheet page's top-left corner, y downwards; a part's own numbers are points.

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "host/Host.h"
#include "host/idml/IdmlDocument.h"
#include "host/idml/IdmlTransform.h"

namespace host::idml {

// A page item: an element with its own ItemTransform, other than a page.
bool isPageItem(pugi::xml_node node);
// The type name the host gives it: "Rectangle", "Line", "Group" or its own element name.
std::string typeNameOf(pugi::xml_node node);
// How the user knows it: its Name, else its id.
std::string describe(pugi::xml_node node);

// The item's own transformation; throws HostError when it is no such matrix.
Transform ownTransform(pugi::xml_node node);
// From the item's own coordinates to the sheet's, through its groups and the page.
Transform toSheet(const IdmlDocument& document, pugi::xml_node node, pugi::xml_node page);

struct PathPoint {
    Point anchor;
    Point left;
    Point right;
};
// The points of the item's path, in its own coordinates (empty for groups).
std::vector<PathPoint> pathOf(pugi::xml_node node);
void writePath(IdmlDocument& document, pugi::xml_node node, const std::vector<PathPoint>& path);

// How far the stroke reaches beyond the path, in points, as InDesign counts it
// for the visible bounds: by its weight and alignment, when it has a colour.
double strokeOutset(pugi::xml_node node);

// The item's path box in its own coordinates; a group's holds its members'.
Bounds innerBox(pugi::xml_node node);

// The item's visible bounds under `transform` (own coordinates to sheet).
// `unit` is points per sheet unit, for the stroke.
Bounds visibleBoundsOf(pugi::xml_node node, const Transform& transform, double unit);

}  // namespace host::idml
