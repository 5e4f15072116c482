#pragma once

// Dissolving a top-level group of a .sla document into its members, as
// Scribus's Ungroup does: each member keeps its place and look on the page.

#include <vector>

#include <pugixml.hpp>

#include "host/sla/SlaDocument.h"

namespace host::sla {

// Dissolves the top-level group `group`; returns its former members.
std::vector<pugi::xml_node> ungroupItem(SlaDocument& document, pugi::xml_node group);

}  // namespace host::sla
