#pragma once

// Where Scribus lays a document's pages out on its canvas when it opens the
// file (it ignores the stored PAGEXPOS/PAGEYPOS), and how it groups them in
// rows. Lengths are points, canvas coordinates; pages are numbered from 0.

#include <string>
#include <vector>

#include <pugixml.hpp>

namespace host::sla {

struct PageRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool operator==(const PageRect&) const = default;
};

// How the pages are laid out in rows: pages per row and the column of the first page.
struct PageLayout {
    int columns = 1;
    int firstColumn = 0;
};

// The layout DOCUMENT `document` chooses: its BOOK, and that layout's Set in
// `pageSets` (DOCUMENT's PageSets, or a null node) when there is one.
PageLayout layoutOf(pugi::xml_node document, pugi::xml_node pageSets);

// The rectangles of `pages` (DOCUMENT's PAGE elements, in order) laid out as
// `layout` says, `pageWidth` being the document's default page width. Throws
// HostError naming `fileName` when a page lies beyond the largest position.
std::vector<PageRect> layOutPages(pugi::xml_node document, const std::vector<pugi::xml_node>& pages,
                                  const PageLayout& layout, double pageWidth,
                                  const std::string& fileName);

// The rows of `count` pages laid out as `layout` says: single pages, or
// facing pages and folds as Scribus shows them.
std::vector<std::vector<int>> spreadsOf(int count, const PageLayout& layout);

}  // namespace host::sla
