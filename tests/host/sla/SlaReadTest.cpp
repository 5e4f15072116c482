// What the host reports for documents as Scribus saved them: items in
// document order, their type names, boxes relative to the page, and angles
// counter-clockwise as Scribus shows them to its users.

#include <gtest/gtest.h>

#include "SlaTestSupport.h"
#include "host/ExpectBounds.h"
#include "host/HostError.h"

namespace {

using host::Bounds;
using slatest::itemsOf;

struct Expected {
    std::string name;
    std::string type;
    Bounds bounds;  // top, left, bottom, right
    double angle;
};

void expectItems(host::Spread& spread, const std::vector<Expected>& expected) {
    const auto items = itemsOf(spread);
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(items[i]->name(), expected[i].name);
        EXPECT_EQ(items[i]->typeName(), expected[i].type);
        testing_support::expectBoundsNear(items[i]->visibleBounds(), expected[i].bounds, 1e-5);
        EXPECT_DOUBLE_EQ(items[i]->rotationAngle(), expected[i].angle);
    }
}

std::shared_ptr<host::sla::SlaHost> openOne(const std::filesystem::path& path) {
    return host::sla::SlaHost::open({path});
}

TEST(SlaRead, ScribusSheetReportsEveryTopLevelItemInDocumentOrder) {
    const auto host = openOne(slatest::scribusSample("sheet_1000x700.sla"));
    EXPECT_EQ(host->documents()->count(), 1);
    EXPECT_EQ(host->activeDocument()->preferences()->pageWidth(), 1000);
    EXPECT_EQ(host->activeDocument()->preferences()->pageHeight(), 700);
    // Stored ROT is clockwise: 270 shows as 90, 90 as 270, 330 as 30.
    expectItems(*host->activeWindow()->activeSpread(),
                {{"Rect_A0", "Rectangle", {40, 40, 240, 190}, 0},
                 {"Rect_B0", "Rectangle", {40.25, 220.5, 240.25, 370.5}, 0},
                 {"Rect_C90", "Rectangle", {40, 400, 190, 600}, 90},
                 {"Rect_D180", "Rectangle", {40, 630, 240, 780}, 180},
                 {"Rect_E270", "Rectangle", {300, 40, 450, 240}, 270},
                 {"Rect_F30", "Rectangle", {290, 280, 451.6025403784, 459.9038105677}, 30},
                 {"Line_H1", "Line", {520, 40, 520, 460}, 0},
                 {"Line_H2", "Line", {560, 40, 560, 460}, 180},
                 {"Line_V1", "Line", {280, 500, 560, 500}, 270},
                 {"Line_V2", "Line", {280, 540, 560, 540}, 90},
                 {"Line_D45", "Line", {280, 580, 480, 780}, 315},
                 {"Text_1", "TextFrame", {590, 40, 660, 340}, 0},
                 {"Ellipse_1", "Oval", {590, 380, 670, 540}, 0},
                 {"Group_outer", "Group", {39.5, 819.5, 260.5, 970.5}, 0}});
}

TEST(SlaRead, GridOfSixtyFourRectanglesInFourDirections) {
    const auto host = openOne(slatest::scribusSample("grid_64.sla"));
    const auto items = itemsOf(*host->activeWindow()->activeSpread());
    ASSERT_EQ(items.size(), 64U);
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i]->name());
        const int row = static_cast<int>(i) / 8;
        const int column = static_cast<int>(i) % 8;
        EXPECT_EQ(items[i]->name(), "G_r" + std::to_string(row) + "c" + std::to_string(column));
        EXPECT_EQ(items[i]->typeName(), "Rectangle");
        // Columns turn by a quarter each; every page box is 100 × 60 on a 120 × 85 grid.
        EXPECT_DOUBLE_EQ(items[i]->rotationAngle(), 90.0 * (column % 4));
        const Bounds b = items[i]->visibleBounds();
        EXPECT_DOUBLE_EQ(b.top, 20 + 85 * row);
        EXPECT_DOUBLE_EQ(b.left, 20 + 120 * column);
        EXPECT_DOUBLE_EQ(b.height(), 60);
        EXPECT_DOUBLE_EQ(b.width(), 100);
    }
}

TEST(SlaRead, HandWrittenMinimalDocument) {
    const auto host = openOne(slatest::scribusSample("minimal_handwritten.sla"));
    expectItems(*host->activeWindow()->activeSpread(),
                {{"Rect_1", "Rectangle", {40, 40, 240, 190}, 0},
                 {"Rect_2_cw90", "Rectangle", {40, 250, 190, 450}, 270},
                 {"Line_1", "Line", {400, 40, 400, 340}, 0},
                 {"Group_1", "Group", {300, 600, 400, 800}, 0}});
}

TEST(SlaRead, ProjectSampleSheet) {
    const auto host = openOne(slatest::ownSample("sheet.sla"));
    EXPECT_EQ(host->activeDocument()->preferences()->pageWidth(), 1000);
    EXPECT_EQ(host->activeDocument()->preferences()->pageHeight(), 700);
    expectItems(*host->activeWindow()->activeSpread(),
                {{"Page 1 head up", "Rectangle", {50, 50, 350, 250}, 0},
                 {"Page 3 head down", "Rectangle", {50, 250, 350, 450}, 180},
                 {"Page 5 head left", "Rectangle", {50, 450, 250, 750}, 90},
                 {"Page 7 head right", "Rectangle", {250, 450, 450, 750}, 270},
                 {"Right column", "Group", {49.5, 749.5, 650.5, 950.5}, 0},
                 {"Cut line", "Line", {675, 50, 675, 950}, 0},
                 {"Head fold", "Line", {25, 50, 25, 950}, 180},
                 {"Spine fold", "Line", {460, 450, 650, 450}, 90},
                 {"Register mark", "Oval", {660, 960, 680, 980}, 0}});
}

TEST(SlaRead, TypeNamesFollowItemKindAndFrameShape) {
    struct Row {
        const char* situation;
        const char* attributes;
        const char* type;
    };
    const Row rows[] = {
        {"rectangle shape", "PTYPE=\"6\" FRTYPE=\"0\"", "Rectangle"},
        {"rounded rectangle", "PTYPE=\"6\" FRTYPE=\"2\" RADRECT=\"5\"", "Rectangle"},
        {"image frame", "PTYPE=\"2\" FRTYPE=\"0\"", "Rectangle"},
        {"ellipse", "PTYPE=\"6\" FRTYPE=\"1\"", "Oval"},
        {"four-point polygon", "PTYPE=\"6\" FRTYPE=\"3\"", "Polygon"},
        {"text frame", "PTYPE=\"4\" FRTYPE=\"0\"", "TextFrame"},
        {"polyline", "PTYPE=\"7\"", "Polyline"},
        {"line", "PTYPE=\"5\"", "Line"},
        {"table", "PTYPE=\"16\"", "Table"},
    };
    slatest::ScratchFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        const auto path = folder.write(
            "types.sla", slatest::documentWith(std::string("  <PAGEOBJECT ") + row.attributes +
                                               " XPOS=\"200\" YPOS=\"100\" WIDTH=\"50\" "
                                               "HEIGHT=\"40\" OwnPage=\"0\"/>\n"));
        const auto items = itemsOf(*openOne(path)->activeWindow()->activeSpread());
        ASSERT_EQ(items.size(), 1U);
        EXPECT_EQ(items[0]->typeName(), row.type);
    }
}

// Scribus re-lays pages out on load; facing pages start on the right by default.
std::string facingDocument() {
    std::string pages;
    for (int i = 0; i < 4; ++i) {
        pages +=
            "  <PAGE PAGEXPOS=\"0\" PAGEYPOS=\"0\" PAGEWIDTH=\"500\" PAGEHEIGHT=\"700\" NUM=\"" +
            std::to_string(i) + "\"/>\n";
    }
    // One rectangle per page at 50, 40 from the page corner; laid out at
    // (600,20), (100,760), (600,760), (100,1500). OwnPage 0 everywhere: stale on purpose.
    const double xs[] = {650, 150, 650, 150};
    const double ys[] = {60, 800, 800, 1540};
    std::string items;
    for (int i = 0; i < 4; ++i) {
        items += "  <PAGEOBJECT ANNAME=\"R" + std::to_string(i + 1) +
                 "\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" XPOS=\"" +
                 std::to_string(static_cast<int>(xs[i])) + "\" YPOS=\"" +
                 std::to_string(static_cast<int>(ys[i])) + "\" WIDTH=\"100\" HEIGHT=\"80\"/>\n";
    }
    // Lies on no page at all.
    items +=
        "  <PAGEOBJECT ANNAME=\"Pasteboard\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
        "XPOS=\"1200\" YPOS=\"60\" WIDTH=\"10\" HEIGHT=\"10\"/>\n";
    std::string text = slatest::documentWith(items, "BOOK=\"1\"", pages);
    // The first row's offset uses the document's default page width.
    return text.replace(text.find("PAGEWIDTH=\"1000\""), 16, "PAGEWIDTH=\"500\"");
}

TEST(SlaRead, SpreadsAreRowsOfTheFacingLayout) {
    slatest::ScratchFolder folder;
    const auto path = folder.write("facing.sla", facingDocument());
    struct Row {
        int page;
        std::vector<std::string> names;
    };
    for (const Row& row :
         {Row{1, {"R1"}}, Row{2, {"R2", "R3"}}, Row{3, {"R2", "R3"}}, Row{4, {"R4"}}}) {
        SCOPED_TRACE(row.page);
        const auto host = host::sla::SlaHost::open({path}, row.page);
        const auto spread = host->activeWindow()->activeSpread();
        EXPECT_EQ(slatest::namesOf(*spread), row.names);
        for (const auto& item : itemsOf(*spread)) {
            const Bounds b = item->visibleBounds();  // relative to each item's own page
            EXPECT_EQ(b, (Bounds{40, 50, 120, 150})) << item->name();
        }
    }
    const auto host = host::sla::SlaHost::open({path}, 2);
    const auto pages = host->activeWindow()->activeSpread()->pages();
    EXPECT_NO_THROW(pages->item(2));
    EXPECT_THROW(pages->item(3), host::HostError);
    EXPECT_THROW(pages->item(0), host::HostError);
}

TEST(SlaRead, WithoutPageTheFirstSpreadOfTheLastFileIsShown) {
    slatest::ScratchFolder folder;
    const auto facing = folder.write("facing.sla", facingDocument());
    const auto host = host::sla::SlaHost::open({facing, slatest::ownSample("sheet.sla")});
    EXPECT_EQ(host->documents()->count(), 2);
    EXPECT_EQ(slatest::namesOf(*host->activeWindow()->activeSpread()).front(), "Page 1 head up");
    const auto first = host::sla::SlaHost::open({slatest::ownSample("sheet.sla"), facing});
    EXPECT_EQ(slatest::namesOf(*first->activeWindow()->activeSpread()),
              std::vector<std::string>{"R1"});
}

TEST(SlaRead, MissingDocumentOrPageIsAnError) {
    const auto empty = host::sla::SlaHost::open({});
    EXPECT_EQ(empty->documents()->count(), 0);
    EXPECT_THROW(empty->activeWindow(), host::HostError);
    EXPECT_THROW(empty->activeDocument(), host::HostError);
    EXPECT_THROW(host::sla::SlaHost::open({}, 1), host::HostError);
    for (int page : {0, 2, -1}) {
        EXPECT_THROW(host::sla::SlaHost::open({slatest::ownSample("sheet.sla")}, page),
                     host::HostError)
            << page;
    }
}

}  // namespace
