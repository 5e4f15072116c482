#pragma once

#include <filesystem>

namespace bench {

// One session of the tool on the .sla host, in this process: opens a copy of
// `sheet` showing 1-based page `page`, captures (the window's load), repaints
// the window, reflects and saves. Prints each step's CPU and wall ms as
// key=value lines (open, capture, repaint, reflect, save).
void runSlaSession(const std::filesystem::path& sheet, int page);

}  // namespace bench
