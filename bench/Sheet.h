#pragma once

// The benchmark's press sheets: n page rectangles laid on a grid over a
// 1000 x 700 page, turned 0, 90, 180, 270 in turn, plus the sample sheet's
// three fold and cut lines and its register mark. The same sheet is built in
// the in-memory host and written as a .sla file.

#include <filesystem>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/memory/MemoryHost.h"

namespace bench {

inline constexpr double kSheetWidth = 1000.0;
inline constexpr double kSheetHeight = 700.0;

struct SheetRectangle {
    host::Bounds box;  // as drawn: top, left, bottom, right
    double angle = 0.0;
};

// What a sheet holds, by kind of item.
struct SheetCounts {
    long rectangles = 0;
    long lines = 0;
    long others = 0;
    long items() const { return rectangles + lines + others; }
};

std::vector<SheetRectangle> sheetRectangles(int count);
SheetCounts sheetCounts(int rectangles);

// Builds the sheet as the only page of a new document and shows it.
void buildMemorySheet(host::MemoryHost& host, int rectangles);

// Writes the sheet as a .sla: the document header, the lines and the register
// mark come from `sample`; the rectangles replace the sample's page items.
void writeSlaSheet(const std::filesystem::path& sample, int rectangles,
                   const std::filesystem::path& out);

}  // namespace bench
