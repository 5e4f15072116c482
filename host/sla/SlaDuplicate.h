#pragma once

#include "host/sla/SlaDocument.h"

namespace host::sla {

// Appends a new last page that copies page `source` (0-based) and its items,
// placed where Scribus lays the new page out. Returns the new page's index.
int duplicatePage(SlaDocument& document, int source);

}  // namespace host::sla
