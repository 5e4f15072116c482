// The one pass of the load checks against the full checks and the item reads
// it stands in for, on documents Scribus saved and on the tool's sample.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include <pugixml.hpp>

#include "SlaTestSupport.h"
#include "host/sla/SlaItem.h"
#include "host/sla/read/SlaCheck.h"
#include "host/sla/read/SlaScan.h"
#include "host/sla/write/SlaChanges.h"

namespace {

using host::sla::ItemShape;

std::vector<std::filesystem::path> soundDocuments() {
    std::vector<std::filesystem::path> documents{slatest::ownSample("sheet.sla")};
    for (const char* name : {"cross-references.sla", "endnote.sla", "footnote.sla", "grid_64.sla",
                             "minimal_handwritten.sla", "sheet_1000x700.sla"}) {
        documents.push_back(slatest::scribusSample(name));
    }
    for (const auto& entry :
         std::filesystem::directory_iterator(slatest::scribusSample("scribus-1.6"))) {
        if (entry.path().extension() == ".sla") {
            documents.push_back(entry.path());
        }
    }
    return documents;
}

void elementsUnder(pugi::xml_node node, std::vector<pugi::xml_node>& elements) {
    elements.push_back(node);
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) {
            elementsUnder(child, elements);
        }
    }
}

void expectSameShape(const ItemShape& scanned, const ItemShape& read) {
    EXPECT_EQ(scanned.frame.x, read.frame.x);
    EXPECT_EQ(scanned.frame.y, read.frame.y);
    EXPECT_EQ(scanned.frame.width, read.frame.width);
    EXPECT_EQ(scanned.frame.height, read.frame.height);
    EXPECT_EQ(scanned.frame.rotation, read.frame.rotation);
    EXPECT_EQ(scanned.frame.line, read.frame.line);
    EXPECT_EQ(scanned.group, read.group);
    EXPECT_EQ(scanned.ownPage, read.ownPage);
}

// A sound document passes the one pass too (else every open takes the slow
// way), which visits DOCUMENT and everything under it once, in document
// order, reading each top-level item's shape as readShape() does.
TEST(SlaScan, SoundDocumentsPassAndEveryElementIsVisitedOnce) {
    for (const auto& path : soundDocuments()) {
        SCOPED_TRACE(path.string());
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_file(path.c_str(), host::sla::kParseFlags));
        ASSERT_EQ(host::sla::documentProblem(xml, [](std::ptrdiff_t) { return 0; }), "");
        std::vector<pugi::xml_node> visited, items;
        const host::sla::DocumentScan scan =
            host::sla::scanDocument(xml, [&](const host::sla::ScannedElement& element) {
                visited.push_back(element.node);
                if (element.item) {
                    items.push_back(element.node);
                    expectSameShape(host::sla::shapeOf(element.place),
                                    host::sla::readShape(element.node));
                }
                EXPECT_EQ(element.name != nullptr, !element.node.attribute("ANNAME").empty());
                EXPECT_EQ(element.mark, std::strcmp(element.node.name(), "MARK") == 0);
            });
        ASSERT_TRUE(scan.sound);
        const pugi::xml_node document = xml.document_element().child("DOCUMENT");
        EXPECT_EQ(scan.document, document);
        std::vector<pugi::xml_node> expected, expectedItems, sections;
        elementsUnder(document, expected);
        for (pugi::xml_node child : document.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            (std::strcmp(child.name(), "PAGEOBJECT") == 0 ? expectedItems : sections)
                .push_back(child);
        }
        EXPECT_EQ(visited, expected);
        EXPECT_EQ(items, expectedItems);
        EXPECT_EQ(scan.sections, sections);
    }
}

}  // namespace
