#pragma once

// Times opening a .sla with the document host and saving it again, on a
// private copy, and prints the medians as key=value lines.

#include <filesystem>

namespace bench {

void runSlaOpenSave(const std::filesystem::path& sheet, int runs);

}  // namespace bench
