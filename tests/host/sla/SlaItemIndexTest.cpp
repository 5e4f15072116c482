// The index of items by page must list what a walk over the whole document
// finds, in document order, after every kind of edit the tool makes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SlaTestSupport.h"
#include "host/sla/SlaDocument.h"
#include "host/sla/SlaDuplicate.h"
#include "host/sla/SlaItem.h"
#include "host/sla/SlaUngroup.h"

namespace {

using host::sla::SlaDocument;

std::string rectangle(const std::string& name, int id, int ownPage, double x, double y) {
    return "  <PAGEOBJECT ANNAME=\"" + name + "\" ItemID=\"" + std::to_string(id) +
           "\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"" + std::to_string(ownPage) + "\" XPOS=\"" +
           std::to_string(x) + "\" YPOS=\"" + std::to_string(y) +
           "\" WIDTH=\"100\" HEIGHT=\"80\"/>\n";
}

// Three pages in a column (tops at 20, 760 and 1500), items on each, between
// them, off them, a group on the second page and one naming a page to come.
std::string threePages() {
    std::string pages;
    for (int page = 0; page < 3; ++page) {
        pages += "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"" + std::to_string(20 + 740 * page) +
                 "\" PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" NUM=\"" + std::to_string(page) +
                 "\"/>\n";
    }
    const std::string group =
        "  <PAGEOBJECT ANNAME=\"G\" ItemID=\"20\" PTYPE=\"12\" OwnPage=\"1\" XPOS=\"200\" "
        "YPOS=\"800\" WIDTH=\"300\" HEIGHT=\"100\" groupWidth=\"300\" groupHeight=\"100\">\n"
        "   <PAGEOBJECT ANNAME=\"G1\" ItemID=\"21\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"1\" "
        "XPOS=\"200\" YPOS=\"800\" WIDTH=\"100\" HEIGHT=\"100\" gXpos=\"0\" gYpos=\"0\" "
        "gWidth=\"300\" gHeight=\"100\"/>\n"
        "   <PAGEOBJECT ANNAME=\"G2\" ItemID=\"22\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"1\" "
        "XPOS=\"400\" YPOS=\"800\" WIDTH=\"100\" HEIGHT=\"100\" gXpos=\"200\" gYpos=\"0\" "
        "gWidth=\"300\" gHeight=\"100\"/>\n"
        "  </PAGEOBJECT>\n";
    return slatest::documentWith(
        rectangle("A", 1, 0, 150, 60) + rectangle("B", 2, 2, 150, 800) + group +
            rectangle("C", 3, 0, 150, 1550) + rectangle("Off", 4, 0, 5000, 5000) +
            rectangle("Later", 5, 3, 150, 2300) + rectangle("D", 6, 1, 600, 750),
        "", pages);
}

// What the index lists for `page`, next to what a walk over the document finds.
void expectIndexMatchesWalk(SlaDocument& document, const std::string& when) {
    const int pages = static_cast<int>(document.pageNodes().size());
    for (int page = -1; page < pages; ++page) {
        std::vector<pugi::xml_node> walked;
        for (pugi::xml_node item : document.topLevelItems()) {
            if (document.itemPage(item) == page) {
                walked.push_back(item);
            }
        }
        std::vector<pugi::xml_node> indexed;
        for (const host::sla::PlacedItem& item : document.itemsOn({page})) {
            EXPECT_EQ(item.page, page);
            indexed.push_back(item.node);
        }
        EXPECT_EQ(indexed, walked) << when << ", page " << page;
    }
}

TEST(SlaItemIndex, ListsWhatAWalkFindsThroughEdits) {
    slatest::ScratchFolder folder;
    const auto document = SlaDocument::load(folder.write("pages.sla", threePages()));
    document->indexItems();
    expectIndexMatchesWalk(*document, "as opened");
    ASSERT_EQ(document->itemsOn({1}).size(), 3U);  // B (touching page 1 only), G, D

    // A fourth page: "Later" names it and lies on it.
    const host::sla::Duplicate copy = host::sla::duplicatePage(*document, 1);
    expectIndexMatchesWalk(*document, "after a duplicate");
    const auto later = document->itemsOn({3});
    ASSERT_FALSE(later.empty());

    // The copied group dissolved: its members take its place in the order.
    pugi::xml_node group;
    for (pugi::xml_node item : copy.copies) {
        if (host::sla::itemTypeName(item) == "Group") {
            group = item;
        }
    }
    ASSERT_TRUE(group);
    host::sla::ungroupItem(*document, group);
    expectIndexMatchesWalk(*document, "after an ungroup");

    // An item moved to another page, one removed, one moved in the order.
    const auto first = document->itemsOn({0});
    ASSERT_FALSE(first.empty());
    document->setNumber(first.front().node, "YPOS", 1600);
    expectIndexMatchesWalk(*document, "after a move");
    document->removeNode(document->itemsOn({2}).back().node);
    expectIndexMatchesWalk(*document, "after a removal");
    const auto all = document->topLevelItems();
    document->moveBefore(all.back(), all.front());
    expectIndexMatchesWalk(*document, "after a change of order");
    // Pages that move place every item anew.
    document->setNumber(document->pageNodes()[0], "PAGEYPOS", 1500);
    expectIndexMatchesWalk(*document, "after a page moved");
}

}  // namespace
