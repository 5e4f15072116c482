// The floor for Reflect's click to the end of the process: with the document
// read and parsed (as the tool has it when the user clicks), add a page after
// the last and a copy of every item of the first page on it, save synced, end.
// Prints "ready-ns=<CLOCK_MONOTONIC>" once the document is parsed.
//
//   quarvel_floor_copypage FILE.sla    (FILE gains the page)

#include <cstdio>
#include <exception>
#include <vector>

#include "bench/floor/FloorFile.h"

namespace {

// Every item of page 0 copied down by one page and its gap, after the last item.
void copyFirstPage(pugi::xml_node document) {
    const double step = document.attribute("PAGEHEIGHT").as_double() +
                        document.attribute("GapVertical").as_double();
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item : document.children("PAGEOBJECT")) {
        if (item.attribute("OwnPage").as_int() == 0) {
            items.push_back(item);
        }
    }
    pugi::xml_node last = document.last_child();
    const pugi::xml_node page = document.insert_copy_after(document.child("PAGE"), last);
    page.attribute("PAGEYPOS").set_value(page.attribute("PAGEYPOS").as_double() + step);
    page.attribute("NUM").set_value(1);
    last = page;
    for (pugi::xml_node item : items) {
        last = document.insert_copy_after(item, last);
        last.attribute("YPOS").set_value(item.attribute("YPOS").as_double() + step);
        last.attribute("OwnPage").set_value(1);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarvel_floor_copypage FILE.sla\n");
        return 2;
    }
    try {
        floors::ParsedFile parsed;
        floors::readAndParse(argv[1], parsed);
        std::printf("ready-ns=%lld\n", floors::monotonicNs());
        std::fflush(stdout);
        copyFirstPage(parsed.xml.document_element().child("DOCUMENT"));
        floors::saveSynced(parsed.xml, argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarvel_floor_copypage: %s\n", error.what());
        return 1;
    }
    return 0;
}
