// The floor for Reflect's click to the end of the process: with the document
// read and parsed (as the tool has it when the user clicks), add a page after
// the last and a copy of every item of the first page on it, save synced, end.
// Prints "ready-ns=<CLOCK_MONOTONIC>" once the document is parsed.
//
//   quarvel_floor_copypage FILE.sla [PAGE]    (FILE gains the page; PAGE is 1-based,
//                                             the first by default)

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/floor/FloorFile.h"

namespace {

// Every item of page `source` (0-based) copied to a new last page, moved down
// by the pages and gaps between, after the last item.
void copyPage(pugi::xml_node document, int source) {
    std::vector<pugi::xml_node> pages;
    for (pugi::xml_node page : document.children("PAGE")) {
        pages.push_back(page);
    }
    if (source < 0 || source >= static_cast<int>(pages.size())) {
        throw std::runtime_error("no such page");
    }
    const int index = static_cast<int>(pages.size());  // of the new page
    const double step = (index - source) * (document.attribute("PAGEHEIGHT").as_double() +
                                            document.attribute("GapVertical").as_double());
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item : document.children("PAGEOBJECT")) {
        if (item.attribute("OwnPage").as_int() == source) {
            items.push_back(item);
        }
    }
    pugi::xml_node last = document.last_child();
    const pugi::xml_node page =
        document.insert_copy_after(pages[static_cast<std::size_t>(source)], last);
    page.attribute("PAGEYPOS").set_value(page.attribute("PAGEYPOS").as_double() + step);
    page.attribute("NUM").set_value(index);
    last = page;
    for (pugi::xml_node item : items) {
        last = document.insert_copy_after(item, last);
        last.attribute("YPOS").set_value(item.attribute("YPOS").as_double() + step);
        last.attribute("OwnPage").set_value(index);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: quarvel_floor_copypage FILE.sla [PAGE]\n");
        return 2;
    }
    try {
        floors::ParsedFile parsed;
        floors::readAndParse(argv[1], parsed);
        std::printf("ready-ns=%lld\n", floors::monotonicNs());
        std::fflush(stdout);
        copyPage(parsed.xml.document_element().child("DOCUMENT"),
                 argc == 3 ? std::stoi(argv[2]) - 1 : 0);
        floors::saveSynced(parsed.xml, argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarvel_floor_copypage: %s\n", error.what());
        return 1;
    }
    return 0;
}
