#pragma once

#include <vector>

#include "host/sla/SlaDocument.h"

namespace host::sla {

struct Duplicate {
    int page = 0;                        // index of the new page
    std::vector<pugi::xml_node> copies;  // the top-level items made for it, in document order
};

// Appends a new last page that copies page `source` (0-based) and its items,
// placed where Scribus lays the new page out. Throws HostError when the page
// or a copy cannot be placed there.
Duplicate duplicatePage(SlaDocument& document, int source);

}  // namespace host::sla
