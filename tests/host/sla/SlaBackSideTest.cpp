// The tool's Reflect run end to end on a .sla document whose layout puts the
// new page in a row with a page the user already has: only the new page may change.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "SlaTestSupport.h"
#include "geometry/BackSide.h"
#include "geometry/LineMirror.h"
#include "host/BackSideWriter.h"
#include "host/Capture.h"
#include "host/ExpectBounds.h"
#include "host/sla/read/SlaNumbers.h"
#include "state/ToolState.h"

namespace {

using host::Bounds;

struct LayoutCase {
    const char* situation;
    const char* book;
    int shownPage;  // 1-based: its row is the captured spread
    const char* pages;
    const char* items;
    const char* copySuffix;  // what the copies' names end with
};

void PrintTo(const LayoutCase& row, std::ostream* os) {
    *os << row.situation;
}

// Every top-level item as written, by name.
std::map<std::string, std::string> itemTexts(const host::sla::SlaDocument& document) {
    std::map<std::string, std::string> texts;
    for (pugi::xml_node item : document.topLevelItems()) {
        std::ostringstream text;
        item.print(text, "", pugi::format_raw);
        texts[item.attribute("ANNAME").value()] = text.str();
    }
    return texts;
}

std::string pageText(const host::sla::SlaDocument& document, std::size_t page) {
    std::ostringstream text;
    document.pageNodes().at(page).print(text, "", pugi::format_raw);
    return text.str();
}

class SlaBackSide : public testing::TestWithParam<LayoutCase> {};

TEST_P(SlaBackSide, ReflectChangesOnlyTheNewPage) {
    const LayoutCase& row = GetParam();
    slatest::ScratchFolder folder;
    std::string text = slatest::documentWith(row.items, row.book, row.pages);
    text.replace(text.find("PAGEWIDTH=\"1000\""), 16, "PAGEWIDTH=\"500\"");
    const auto path = folder.write("layout.sla", text);
    const auto before = host::sla::SlaDocument::load(path);

    state::ToolState tool;
    const auto slaHost = host::sla::SlaHost::open({path}, row.shownPage);
    tool.hostApp = slaHost;
    tool.sheetWidth = 500.0;
    tool.sheetHeight = 700.0;
    host::captureSpread(tool);
    ASSERT_GT(tool.pageCount, 0);
    geometry::createSide2(tool);
    const auto shown = tool.curSpread;
    std::map<std::string, std::pair<Bounds, double>> front;
    for (const auto& item : slatest::itemsOf(*shown)) {
        front[item->name()] = {item->visibleBounds(), item->rotationAngle()};
    }
    host::writeBackSide(tool);
    slaHost->saveChanged();

    const auto after = host::sla::SlaDocument::load(path);
    const std::size_t oldPages = before->pageNodes().size();
    ASSERT_EQ(after->pageNodes().size(), oldPages + 1);
    for (std::size_t page = 0; page < oldPages; ++page) {
        EXPECT_EQ(pageText(*after, page), pageText(*before, page)) << "page " << page + 1;
    }
    const auto texts = itemTexts(*after);
    for (const auto& [name, original] : itemTexts(*before)) {
        ASSERT_EQ(texts.count(name), 1U) << name;
        EXPECT_EQ(texts.at(name), original) << name;
    }

    // Reloaded, the new page holds the copies of the duplicated page, mirrored.
    const auto reloaded = host::sla::SlaHost::open({path}, static_cast<int>(oldPages) + 1);
    int copies = 0;
    for (const auto& item : slatest::itemsOf(*reloaded->activeWindow()->activeSpread())) {
        const std::string name = item->name();
        const std::size_t suffix = name.rfind(row.copySuffix);
        if (suffix == std::string::npos) {
            continue;  // another page of the row
        }
        ++copies;
        SCOPED_TRACE(name);
        const auto& [bounds, angle] = front.at(name.substr(0, suffix));
        if (item->typeName() == "Rectangle") {
            slatest::expectBounds(item->visibleBounds(), {bounds.top, 500 - bounds.right,
                                                          bounds.bottom, 500 - bounds.left});
            EXPECT_NEAR(item->rotationAngle(), std::fmod(360 - angle, 360), 1e-9);
        } else {
            const auto mirrored = geometry::reflectBounds(tool, bounds.top, bounds.left,
                                                          bounds.bottom, bounds.right, angle);
            slatest::expectBounds(item->visibleBounds(), mirrored.bounds);
            EXPECT_NEAR(item->rotationAngle(), mirrored.angle, 1e-9);
        }
    }
    EXPECT_EQ(copies, 2);
}

// Pages 500 x 700; the first page holds a turned rectangle and a line, the
// second a rectangle and a line of its own.
INSTANTIATE_TEST_SUITE_P(
    Layouts, SlaBackSide,
    testing::Values(
        // Facing pages, first page on the right: the copy of page 1 lands beside page 2.
        LayoutCase{"FacingPages", "BOOK=\"1\"", 1,
                   "  <PAGE PAGEXPOS=\"600\" PAGEYPOS=\"20\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"0\" MNAM=\"Normal Right\"/>\n"
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"760\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"1\" MNAM=\"Normal Left\"/>\n",
                   "  <PAGEOBJECT ANNAME=\"A\" ItemID=\"1\" PTYPE=\"6\" FRTYPE=\"0\" "
                   "OwnPage=\"0\" XPOS=\"650\" YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\" "
                   "ROT=\"30\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L1\" ItemID=\"2\" PTYPE=\"5\" OwnPage=\"0\" "
                   "XPOS=\"700\" YPOS=\"300\" WIDTH=\"200\" HEIGHT=\"1\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"B\" ItemID=\"3\" PTYPE=\"6\" FRTYPE=\"0\" "
                   "OwnPage=\"1\" XPOS=\"150\" YPOS=\"800\" WIDTH=\"100\" HEIGHT=\"80\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L2\" ItemID=\"4\" PTYPE=\"5\" OwnPage=\"1\" "
                   "XPOS=\"200\" YPOS=\"900\" WIDTH=\"150\" HEIGHT=\"1\" ROT=\"20\"/>\n",
                   " p3"},
        // Facing pages again, with only a line beside the copy: nothing counts it
        // as a spare rectangle, so only the saved file shows whether it was mirrored.
        LayoutCase{"FacingPagesLineBeside", "BOOK=\"1\"", 1,
                   "  <PAGE PAGEXPOS=\"600\" PAGEYPOS=\"20\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"0\" MNAM=\"Normal Right\"/>\n"
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"760\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"1\" MNAM=\"Normal Left\"/>\n",
                   "  <PAGEOBJECT ANNAME=\"A\" ItemID=\"1\" PTYPE=\"6\" FRTYPE=\"0\" "
                   "OwnPage=\"0\" XPOS=\"650\" YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L1\" ItemID=\"2\" PTYPE=\"5\" OwnPage=\"0\" "
                   "XPOS=\"700\" YPOS=\"300\" WIDTH=\"200\" HEIGHT=\"1\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L2\" ItemID=\"4\" PTYPE=\"5\" OwnPage=\"1\" "
                   "XPOS=\"200\" YPOS=\"900\" WIDTH=\"150\" HEIGHT=\"1\" ROT=\"20\"/>\n",
                   " p3"},
        // Three columns: the copy of page 1 joins pages 1 and 2 in the first row.
        LayoutCase{"ThreeColumns", "BOOK=\"2\"", 1,
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"0\" MNAM=\"Normal Left\"/>\n"
                   "  <PAGE PAGEXPOS=\"600\" PAGEYPOS=\"20\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"1\" MNAM=\"Normal Middle\"/>\n",
                   "  <PAGEOBJECT ANNAME=\"A\" ItemID=\"1\" PTYPE=\"6\" FRTYPE=\"0\" "
                   "OwnPage=\"0\" XPOS=\"150\" YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\" "
                   "ROT=\"30\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L1\" ItemID=\"2\" PTYPE=\"5\" OwnPage=\"0\" "
                   "XPOS=\"200\" YPOS=\"300\" WIDTH=\"200\" HEIGHT=\"1\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"B\" ItemID=\"3\" PTYPE=\"6\" FRTYPE=\"0\" "
                   "OwnPage=\"1\" XPOS=\"650\" YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L2\" ItemID=\"4\" PTYPE=\"5\" OwnPage=\"1\" "
                   "XPOS=\"700\" YPOS=\"400\" WIDTH=\"150\" HEIGHT=\"1\" ROT=\"20\"/>\n",
                   " p3"},
        // Single pages: where the copy of page 1 goes, a line and a rectangle are
        // parked on the pasteboard and a group names the page index to come. They
        // are not the copy's: the duplicate neither mirrors nor counts them.
        LayoutCase{"ParkedWhereTheNewPageGoes", "BOOK=\"0\"", 1,
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"500\" "
                   "PAGEHEIGHT=\"700\" NUM=\"0\"/>\n",
                   "  <PAGEOBJECT ANNAME=\"A\" ItemID=\"1\" PTYPE=\"6\" FRTYPE=\"0\" "
                   "OwnPage=\"0\" XPOS=\"150\" YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\" "
                   "ROT=\"30\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"L1\" ItemID=\"2\" PTYPE=\"5\" OwnPage=\"0\" "
                   "XPOS=\"200\" YPOS=\"300\" WIDTH=\"200\" HEIGHT=\"1\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"Parked line\" ItemID=\"3\" PTYPE=\"5\" "
                   "OwnPage=\"-1\" XPOS=\"150\" YPOS=\"900\" WIDTH=\"300\" HEIGHT=\"1\" "
                   "ROT=\"10\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"Parked rectangle\" ItemID=\"4\" PTYPE=\"6\" "
                   "FRTYPE=\"0\" OwnPage=\"0\" XPOS=\"300\" YPOS=\"1000\" WIDTH=\"50\" "
                   "HEIGHT=\"60\"/>\n"
                   "  <PAGEOBJECT ANNAME=\"Orphan group\" ItemID=\"5\" PTYPE=\"12\" "
                   "OwnPage=\"1\" XPOS=\"2000\" YPOS=\"2000\" WIDTH=\"100\" HEIGHT=\"10\" "
                   "groupWidth=\"100\" groupHeight=\"10\">\n"
                   "   <PAGEOBJECT ANNAME=\"Orphan line\" ItemID=\"6\" PTYPE=\"5\" "
                   "OwnPage=\"1\" XPOS=\"2000\" YPOS=\"2000\" WIDTH=\"100\" HEIGHT=\"1\" "
                   "gXpos=\"0\" gYpos=\"0\"/>\n"
                   "  </PAGEOBJECT>\n",
                   " p2"}),
    [](const testing::TestParamInfo<LayoutCase>& param) { return param.param.situation; });

}  // namespace
