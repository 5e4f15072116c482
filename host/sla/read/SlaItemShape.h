#pragma once

// What decides where a top-level item lies (SlaDocument::itemPlace()).

#include <pugixml.hpp>

#include "host/sla/read/SlaGeometry.h"
#include "host/sla/read/SlaScan.h"

namespace host::sla {

// Its frame in canvas coordinates, whether it is a group, and the page its
// OwnPage names (-1 when it has none).
struct ItemShape {
    Frame frame;
    bool group = false;
    int ownPage = -1;
};

// The shape of the attributes read by the load checks (see readShape() in SlaItem.h).
ItemShape shapeOf(const ScannedPlace& place);

struct ScannedItem {
    pugi::xml_node node;
    ItemShape shape;
};

}  // namespace host::sla
