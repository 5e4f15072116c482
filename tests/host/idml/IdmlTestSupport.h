#pragma once

// Shared by the IDML host tests: the tool's Reflect on a package, and what a
// page of a package holds, read back through the adapter.

#include <filesystem>
#include <string>
#include <vector>

#include "host/Host.h"
#include "state/ToolState.h"

namespace idmltest {

// Capture the spread holding 1-based page `shownPage`, turn it, write the
// back side and save. Returns the tool state the back side was written from.
state::ToolState reflectFile(const std::filesystem::path& path, bool leftRight, int shownPage = 1);

struct ItemRow {
    std::string type;
    std::string name;
    host::Bounds box;
    double angle = 0.0;
};

// The items on the first page of the spread holding page `page`, as the adapter
// reads them, its groups first dissolved when `dissolve` says so (the file
// stays as it is).
std::vector<ItemRow> itemsOn(const std::filesystem::path& path, int page, bool dissolve = false);

// Only the rows of one type.
std::vector<ItemRow> ofType(const std::vector<ItemRow>& rows, const std::string& type);

}  // namespace idmltest
