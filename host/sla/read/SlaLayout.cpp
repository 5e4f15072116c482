#include "host/sla/read/SlaLayout.h"

#include <algorithm>
#include <cmath>

#include "host/HostError.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

// Scribus's defaults for the four layouts when the file has no PageSets.
PageLayout defaultLayout(int book) {
    static constexpr PageLayout kLayouts[] = {{1, 0}, {2, 1}, {3, 0}, {4, 0}};
    return kLayouts[std::clamp(book, 0, 3)];
}

}  // namespace

PageLayout layoutOf(pugi::xml_node document, pugi::xml_node pageSets) {
    const int book = intAttribute(document, "BOOK", 0);
    PageLayout layout = defaultLayout(book);
    int index = 0;
    for (pugi::xml_node set : pageSets.children("Set")) {
        if (index++ == book) {
            layout.columns = intAttribute(set, "Columns", layout.columns);
            layout.firstColumn = intAttribute(set, "FirstPage", layout.firstColumn);
        }
    }
    layout.columns = std::max(1, layout.columns);
    layout.firstColumn = std::clamp(layout.firstColumn, 0, layout.columns - 1);
    return layout;
}

std::vector<PageRect> layOutPages(pugi::xml_node document, const std::vector<pugi::xml_node>& pages,
                                  const PageLayout& layout, double pageWidth,
                                  const std::string& fileName) {
    const double scratchLeft = numberAttribute(document, "ScratchLeft", 100);
    const double gapHorizontal = numberAttribute(document, "GapHorizontal", 0);
    const double gapVertical = numberAttribute(document, "GapVertical", 40);
    const int cols = layout.columns;
    int column = layout.firstColumn;
    double x = scratchLeft + column * (pageWidth + gapHorizontal);
    double y = numberAttribute(document, "ScratchTop", 20);
    double rowHeight = 0;
    std::vector<PageRect> rects;
    for (pugi::xml_node page : pages) {
        if (column >= cols) {
            y += rowHeight + gapVertical;
            x = scratchLeft;
            column = 0;
            rowHeight = 0;
        }
        const PageRect rect{x, y, numberAttribute(page, "PAGEWIDTH"),
                            numberAttribute(page, "PAGEHEIGHT")};
        if (!std::isfinite(rect.x + rect.width) || !std::isfinite(rect.y + rect.height)) {
            // Sizes near the largest number add up to infinity; no position there can be written.
            throw HostError("\"" + fileName + "\" cannot be used: its page " +
                            std::to_string(rects.size() + 1) +
                            " lies beyond the largest position a document can hold.");
        }
        rects.push_back(rect);
        x += rect.width + gapHorizontal;
        rowHeight = std::max(rowHeight, rect.height);
        ++column;
    }
    return rects;
}

std::vector<std::vector<int>> spreadsOf(int count, const PageLayout& layout) {
    const int cols = layout.columns;
    int column = layout.firstColumn;
    std::vector<std::vector<int>> rows(1);
    for (int page = 0; page < count; ++page) {
        if (column >= cols) {
            rows.emplace_back();
            column = 0;
        }
        rows.back().push_back(page);
        ++column;
    }
    return rows;
}

}  // namespace host::sla
