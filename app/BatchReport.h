#pragma once

// What the batch mode prints for each document: the front and back page
// tables as the tool captured and computed them, as text tables or as JSON.
// Lengths are host units (points from the page's top-left corner for a
// Scribus document); angles are degrees, as the tool holds them.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "state/PageTable.h"

namespace app {

struct PageRow {
    int page = 0;
    double top = 0, left = 0, bottom = 0, right = 0, angle = 0;
};

struct SheetReport {
    std::string file;
    int page = 1;  // a page (1-based) of the spread that was turned
    Direction direction = Direction::LeftRight;
    std::vector<PageRow> front;  // pages 1, 3, 5 ...
    std::vector<PageRow> back;   // pages 2, 4, 6 ...
    // The back side's page (1-based) in the saved document; none on a dry run.
    std::optional<int> newPage;
    // Why the document failed; empty when it did not. A failed document has no tables.
    std::string error;
};

// Rows 0 .. count - 1 of a page table.
std::vector<PageRow> pageRows(const state::PageTable& table, int count);

// A heading line, then both tables; nothing for a failed document.
void printText(std::ostream& out, const SheetReport& report);

// One JSON array with an object per report, in order.
void printJson(std::ostream& out, const std::vector<SheetReport>& reports);

// A document's error as the batch reports it on its line: naming the file
// (as given), unless the text already names it in quotes.
std::string errorLine(const std::optional<std::string>& file, const std::string& error);

// `text` as a JSON string, quotes included; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text);

}  // namespace app
