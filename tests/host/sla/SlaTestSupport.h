#pragma once

// Shared helpers for the .sla host tests: sample locations, scratch folders
// and looking items up by name.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/sla/SlaHost.h"
#include "host/sla/SlaItem.h"

namespace slatest {

// Documents saved by Scribus itself, from the test data.
std::filesystem::path scribusSample(const std::string& name);
std::filesystem::path ownSample(const std::string& name);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

// A fresh folder removed again at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    // Copies `source` into the folder and returns the copy's path.
    std::filesystem::path copy(const std::filesystem::path& source) const;
    std::filesystem::path write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path m_path;
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

// A one-page 1000 × 700 document (page at 100, 20) holding `items` (PAGEOBJECT elements).
std::string documentWith(const std::string& items, const std::string& documentAttributes = "",
                         const std::string& pages = "");

}  // namespace slatest
