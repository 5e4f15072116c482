#pragma once

// What a Scribus group adds to the look of its members: its opacity
// (TransValue, 0 opaque to 1 clear), its blend mode (TransBlend), a clip to its
// frame, a soft shadow and a mask. Dissolving a group drops them.

#include <pugixml.hpp>

#include "host/sla/SlaDocument.h"

namespace host::sla {

// Whether dissolving `group` would change what the page shows. A clip counts
// only when it cuts: the frame is not a plain rectangle, or a member (with its
// stroke) reaches outside it. An attribute that cannot be read counts too.
bool groupChangesLook(pugi::xml_node group);

// Whether `group` holds, at any depth, an item a capture or a back side works
// on: a page rectangle or a line.
bool holdsRectangleOrLine(pugi::xml_node group);

// Gives `member` the group's opacity (multiplied into its own fill and stroke
// opacity) and blend mode (where it has none of its own), so that it looks
// the same once the group is gone. Exact while members do not overlap and
// each paints a fill or a stroke, not both; otherwise close.
void foldGroupLook(SlaDocument& document, pugi::xml_node group, pugi::xml_node member);

}  // namespace host::sla
