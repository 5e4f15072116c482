#pragma once

#include "state/ToolState.h"

namespace host {

class PageItems;

// Dissolves every group among `items`, nested groups too, in passes until one
// finds no group.
void dissolveGroups(PageItems& items);

// Reads the spread shown in the host's active window into frontPages, after
// dissolving every group on it (nested groups too; they stay dissolved).
// Rectangles are numbered 1, 3, 5 ... in the host's order; other items are
// skipped. Expects pageCount 0 and frontCapacity 32.
void captureSpread(state::ToolState& tool);

}  // namespace host
