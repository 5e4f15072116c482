#pragma once

// Shared helpers for the .sla host tests: sample locations, scratch folders
// (those of the file tests) and looking items up by name.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "file/FileTestSupport.h"
#include "host/sla/SlaHost.h"
#include "host/sla/SlaItem.h"

namespace slatest {

// Documents saved by Scribus itself, from the test data.
std::filesystem::path scribusSample(const std::string& name);
std::filesystem::path ownSample(const std::string& name);

using filetest::readFile;
using filetest::writeFile;

// A fresh folder removed again at the end of the test.
class ScratchFolder : public filetest::Scratch {
public:
    // Copies `source` into the folder, readable and writable, and returns the copy's path.
    std::filesystem::path copy(const std::filesystem::path& source) const;
};

std::vector<std::shared_ptr<host::sla::SlaItem>> itemsOf(host::Spread& spread);
std::shared_ptr<host::sla::SlaItem> itemNamed(host::Spread& spread, const std::string& name);
std::vector<std::string> namesOf(host::Spread& spread);

// The tool's Reflect on `path` (capture the spread holding 1-based page
// `shownPage`, mirror it left-right, write the back side), then the save.
void reflectAndSave(const std::filesystem::path& path, int shownPage = 1);

// The same, turning the sheet left-right or top-bottom. Errors propagate as the
// tool raises them.
void reflectFile(const std::filesystem::path& path, bool leftRight, int shownPage = 1);

// Expects every attribute of the document's pages and items that the tool
// reads or writes as a number to hold a finite number.
void expectFiniteNumbers(const host::sla::SlaDocument& document);

// Expects `actual` within 1e-6 pt of `expected` on every side.
void expectBounds(const host::Bounds& actual, const host::Bounds& expected);

// A one-page 1000 × 700 document (page at 100, 20) holding `items` (PAGEOBJECT elements).
std::string documentWith(const std::string& items, const std::string& documentAttributes = "",
                         const std::string& pages = "");

}  // namespace slatest
