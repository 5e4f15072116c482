#pragma once

// IDML packages built for the tests from a sheet description (sheet units,
// from the sheet page's top-left corner, y downwards; angles counter-
// clockwise): a designmap, preferences, spreads of empty pages around the
// sheet page, the sheet's items with their ItemTransforms and paths, groups
// holding their members in their own coordinates, a story per text frame.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "host/contract/Sheet.h"
#include "host/idml/ZipWriter.h"

namespace idmltest {

struct SheetOptions {
    std::string unitName = "Points";  // the document's ruler unit
    double pointsPerUnit = 1.0;
    bool facing = false;
    std::vector<int> spreads = {1};  // pages per spread, in order
    std::size_t sheetSpread = 0;     // the sheet is the first page of this spread
    // Extra attributes of an item, by its name (a stroke, say).
    std::map<std::string, std::string> attributes;
    // Put right after the XML declaration of designmap.xml (a DTD, say).
    std::string designmapPrologue;
};

std::vector<ZipEntry> sheetParts(const contract::Sheet& sheet, const SheetOptions& options = {});
std::string sheetPackage(const contract::Sheet& sheet, const SheetOptions& options = {});

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// The unpacked entries of the package at `path`, in order (read with libzip).
std::vector<std::pair<std::string, std::string>> entriesOf(const std::filesystem::path& path);

// An entry as stored: its compression method and its data still compressed.
struct StoredEntry {
    std::string name;
    int method = 0;
    std::string stored;
    bool operator==(const StoredEntry&) const = default;
};
std::vector<StoredEntry> storedEntriesOf(const std::filesystem::path& path);

}  // namespace idmltest
