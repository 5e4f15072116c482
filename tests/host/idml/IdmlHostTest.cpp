// Reading IDML sheets and writing their back sides, read back through the adapter.

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "host/Capture.h"
#include "host/ExpectBounds.h"
#include "host/HostError.h"
#include "host/ItemGeometry.h"
#include "host/idml/IdmlDocument.h"
#include "host/idml/IdmlHost.h"
#include "host/idml/IdmlSheet.h"
#include "host/idml/IdmlTestSupport.h"
#include "host/sla/file/FileTestSupport.h"

namespace idmltest {
namespace {

constexpr double kTolerance = 1e-6;

contract::SheetItem frame(const std::string& type, const std::string& name, double cx, double cy,
                          double width, double height, double angle) {
    const host::Bounds box = host::boxOf({{cx, cy}, width, height}, angle);
    return {type, name, box, angle, {}};
}

// A 1000 x 700 sheet: rectangles at the right angles and off them, a group
// inside a group, lines, a text frame between rectangles.
contract::Sheet richSheet() {
    contract::SheetItem inner{"Group",
                              "inner",
                              {},
                              0.0,
                              {frame("Rectangle", "g15", 700, 450, 100, 60, 15),
                               frame("Line", "gline", 700, 600, 80, 0, 0)}};
    inner.box = host::unite(inner.members[0].box, inner.members[1].box);
    contract::SheetItem outer{
        "Group", "outer", {}, 0.0, {frame("Rectangle", "g270", 850, 450, 120, 80, 270), inner}};
    outer.box = host::unite(outer.members[0].box, inner.box);
    return {1000.0,
            700.0,
            {frame("Rectangle", "r0", 150, 120, 200, 100, 0),
             frame("Rectangle", "r90", 400, 120, 200, 100, 90),
             frame("TextFrame", "text", 150, 300, 150, 50, 0),
             frame("Rectangle", "r180", 650, 120, 200, 100, 180),
             frame("Line", "diagonal", 300, 500, 150, 0, 30),
             frame("Rectangle", "r300", 150, 500, 100, 60, 300),
             frame("Line", "vertical", 450, 450, 100, 0, 90), outer}};
}

class IdmlHost : public testing::Test {
protected:
    std::filesystem::path write(const contract::Sheet& sheet, const SheetOptions& options = {}) {
        auto path = m_scratch / ("sheet" + std::to_string(++m_count) + ".idml");
        writeFile(path, sheetPackage(sheet, options));
        return path;
    }

    // The back side's rectangles and lines are where turning the front puts them.
    void expectBackSide(const std::filesystem::path& path, const state::ToolState& tool,
                        const std::vector<ItemRow>& front, int newPage) {
        const auto back = itemsOn(path, newPage);
        const auto rectangles = ofType(back, "Rectangle");
        ASSERT_EQ(rectangles.size(), static_cast<std::size_t>(tool.pageCount));
        const double width = tool.sheetWidth.value();
        const double height = tool.sheetHeight.value();
        const auto turned = [&](const host::Bounds& box) {
            return tool.flipLeftRight
                       ? host::Bounds{box.top, width - box.right, box.bottom, width - box.left}
                       : host::Bounds{height - box.bottom, box.left, height - box.top, box.right};
        };
        const auto frontRectangles = ofType(front, "Rectangle");
        for (std::size_t k = 0; k < rectangles.size(); ++k) {
            SCOPED_TRACE(rectangles[k].name);
            testing_support::expectBoundsNear(rectangles[k].box, turned(frontRectangles[k].box),
                                              kTolerance);
            using state::PageTable;
            EXPECT_NEAR(rectangles[k].angle,
                        host::normalizedDegrees(tool.backPages.at(k, PageTable::Angle)), 1e-9);
        }
        const auto lines = ofType(back, "Line");
        const auto frontLines = ofType(front, "Line");
        ASSERT_EQ(lines.size(), frontLines.size());
        for (std::size_t k = 0; k < lines.size(); ++k) {
            SCOPED_TRACE(lines[k].name);
            testing_support::expectBoundsNear(lines[k].box, turned(frontLines[k].box), kTolerance);
        }
        EXPECT_EQ(ofType(back, "TextFrame").size(), ofType(front, "TextFrame").size());
    }

    // The sheet's items with its groups dissolved, as the tool reads them.
    std::vector<ItemRow> frontOf(const std::filesystem::path& path, int page = 1) {
        return itemsOn(path, page, true);
    }

    filetest::Scratch m_scratch;
    int m_count = 0;
};

TEST_F(IdmlHost, ItemsReadWithTheirTypesBoxesAndTheAnglesInDesignShows) {
    const contract::Sheet sheet = richSheet();
    const auto rows = itemsOn(write(sheet), 1);
    ASSERT_EQ(rows.size(), sheet.items.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(sheet.items[i].name);
        EXPECT_EQ(rows[i].type, sheet.items[i].type);
        testing_support::expectBoundsNear(rows[i].box, sheet.items[i].box, kTolerance);
        EXPECT_NEAR(rows[i].angle, sheet.items[i].type == "Group" ? 0.0 : sheet.items[i].angle,
                    1e-9);
    }
}

TEST_F(IdmlHost, VisibleBoundsCountTheStrokeByItsWeightAndAlignment) {
    const contract::Sheet sheet = richSheet();
    SheetOptions options;
    const std::string black = "StrokeColor=\"Color/Black\" ";
    options.attributes = {
        {"r0", black + "StrokeWeight=\"4\""},  // centred: half outside
        {"r90", black + "StrokeWeight=\"4\" StrokeAlignment=\"InsideAlignment\""},
        {"r180", black + "StrokeWeight=\"3\" StrokeAlignment=\"OutsideAlignment\""},
        {"vertical", black + "StrokeWeight=\"2\""},
        {"r300", "StrokeColor=\"Swatch/None\" StrokeWeight=\"8\""},  // no colour, no stroke
    };
    const auto rows = itemsOn(write(sheet, options), 1);
    const auto grown = [](host::Bounds box, double by, bool across, bool along) {
        return host::Bounds{box.top - (along ? by : 0), box.left - (across ? by : 0),
                            box.bottom + (along ? by : 0), box.right + (across ? by : 0)};
    };
    testing_support::expectBoundsNear(rows[0].box, grown(sheet.items[0].box, 2, true, true),
                                      kTolerance);
    testing_support::expectBoundsNear(rows[1].box, sheet.items[1].box, kTolerance);
    testing_support::expectBoundsNear(rows[3].box, grown(sheet.items[3].box, 3, true, true),
                                      kTolerance);
    testing_support::expectBoundsNear(rows[5].box, sheet.items[5].box, kTolerance);
    // A line's stroke lies across it only: its ends stay.
    testing_support::expectBoundsNear(rows[6].box, grown(sheet.items[6].box, 1, true, false),
                                      kTolerance);
}

struct Case {
    const char* situation;
    SheetOptions options;
    int shownPage;
    int newPage;
};

TEST_F(IdmlHost, ReflectWritesTheBackSideAsANewPageReadBackBothWays) {
    SheetOptions millimetres;
    millimetres.unitName = "Millimeters";
    millimetres.pointsPerUnit = 72.0 / 25.4;
    SheetOptions facing;
    facing.facing = true;
    facing.spreads = {1, 2};
    const Case cases[] = {
        {"points, one page", {}, 1, 2},
        {"millimetres", millimetres, 1, 2},
        {"facing, the sheet a right-hand page", facing, 1, 2},
    };
    for (const Case& each : cases) {
        for (const bool leftRight : {true, false}) {
            SCOPED_TRACE(std::string(each.situation) +
                         (leftRight ? ", left-right" : ", top-bottom"));
            const auto path = write(richSheet(), each.options);
            const auto front = frontOf(path, each.shownPage);
            const state::ToolState tool = reflectFile(path, leftRight, each.shownPage);
            EXPECT_EQ(tool.pageCount, 6);
            EXPECT_DOUBLE_EQ(tool.sheetWidth.value(), 1000.0);
            expectBackSide(path, tool, front, each.newPage);
            // The sheet itself keeps its items where they were.
            const auto after = itemsOn(path, each.shownPage, true);
            ASSERT_EQ(after.size(), front.size());
            for (std::size_t i = 0; i < after.size(); ++i) {
                testing_support::expectBoundsNear(after[i].box, front[i].box, kTolerance);
            }
        }
    }
}

TEST_F(IdmlHost, InAFacingDocumentTheNewPageTakesItsSideAndThePagesAfterItAreNumberedOn) {
    struct Expected {
        std::vector<int> spreads;
        int shownPage;
        std::size_t added;    // the new spread's place
        const char* binding;  // of the new spread: 0 right of the spine, 1 left
    };
    const Expected cases[] = {
        {{1, 2}, 1, 1, "1"},     // after page 1: page 2, a left-hand page
        {{1, 2, 1}, 2, 2, "1"},  // after pages 2 and 3: page 4, left-hand
        {{2, 1}, 1, 1, "0"},     // after pages 1 and 2: page 3, right-hand
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(expected.added * 10 + static_cast<std::size_t>(expected.shownPage));
        SheetOptions facing;
        facing.facing = true;
        facing.spreads = expected.spreads;
        const auto path = write(richSheet(), facing);
        reflectFile(path, true, expected.shownPage);
        const auto document = host::idml::IdmlDocument::load(path);
        std::vector<std::string> names;
        for (std::size_t s = 0; s < document->spreadCount(); ++s) {
            for (pugi::xml_node page : document->pagesOf(s)) {
                names.push_back(page.attribute("Name").value());
            }
        }
        std::vector<std::string> numbered;
        for (std::size_t n = 1; n <= names.size(); ++n) {
            numbered.push_back(std::to_string(n));
        }
        EXPECT_EQ(names, numbered);
        EXPECT_EQ(document->pagesOf(expected.added).size(), 1u);
        EXPECT_STREQ(document->spread(expected.added).spread.attribute("BindingLocation").value(),
                     expected.binding);
        EXPECT_EQ(
            document->designmap().child("Document").child("Section").attribute("Length").as_int(),
            static_cast<int>(names.size()));
    }
}

TEST_F(IdmlHost, TheCopyOfATextFrameHasItsOwnStoryListedInTheDesignmap) {
    const auto path = write(richSheet());
    reflectFile(path, true);
    const auto document = host::idml::IdmlDocument::load(path);
    const pugi::xml_node original = document->spread(0).spread.child("TextFrame");
    const pugi::xml_node copy = document->spread(1).spread.child("TextFrame");
    const std::string story = copy.attribute("ParentStory").value();
    EXPECT_NE(story, original.attribute("ParentStory").value());
    EXPECT_NE(std::string(copy.attribute("Self").value()), original.attribute("Self").value());
    const std::string part = "Stories/Story_" + story + ".xml";
    EXPECT_NE(document->package().contents(part).find("<Story Self=\"" + story + "\""),
              std::string::npos);
    EXPECT_NE(document->package().contents(part).find("Text of text"), std::string::npos);
    const pugi::xml_node map = document->designmap().child("Document");
    EXPECT_NE(std::string(map.attribute("StoryList").value()).find(story), std::string::npos);
    EXPECT_TRUE(map.find_child_by_attribute("idPkg:Story", "src", part.c_str()));
}

TEST_F(IdmlHost, ThreadsWithinTheCopyAreKeptThoseLeavingItCutAndLinksCopied) {
    // Two pages side by side: "far" lies on the second, which is not copied.
    const contract::Sheet sheet{600.0,
                                400.0,
                                {frame("TextFrame", "t1", 100, 100, 100, 50, 0),
                                 frame("TextFrame", "t2", 300, 100, 100, 50, 0),
                                 frame("Rectangle", "picture", 300, 300, 100, 50, 0),
                                 frame("TextFrame", "far", 900, 100, 100, 50, 0)}};
    SheetOptions options;
    options.spreads = {2};
    auto parts = sheetParts(sheet, options);
    for (ZipEntry& entry : parts) {
        if (entry.name.rfind("Spreads/", 0) == 0) {
            // Built in order: t1 u300, t2 u301, picture u302, far u303; one story for the chain.
            std::string& text = entry.data;
            text = std::regex_replace(
                text, std::regex("(Self=\"u300\"[^>]*PreviousTextFrame=\"n\" NextTextFrame=\")n"),
                "$01u301");
            text = std::regex_replace(text,
                                      std::regex("(Self=\"u301\"[^>]*ParentStory=\")u401(\" "
                                                 "PreviousTextFrame=\")n(\" NextTextFrame=\")n"),
                                      "$01u400$02u300$03u303");
            text = std::regex_replace(
                text,
                std::regex("(Self=\"u303\"[^>]*ParentStory=\")u402(\" PreviousTextFrame=\")n"),
                "$01u400$02u301");
            text = std::regex_replace(
                text, std::regex("(Name=\"picture\"[^>]*>\n)"),
                "$01\t\t\t<Image Self=\"u500\" ItemTransform=\"1 0 0 1 0 0\"><Link Self=\"u501\" "
                "LinkResourceURI=\"file:picture.tif\"/></Image>\n");
        }
    }
    const auto path = m_scratch / "threads.idml";
    writeFile(path, zipArchive(parts));
    reflectFile(path, true);
    const auto document = host::idml::IdmlDocument::load(path);
    const pugi::xml_node copy = document->spread(1).spread;
    const pugi::xml_node t1 = copy.find_child_by_attribute("TextFrame", "Name", "t1");
    const pugi::xml_node t2 = copy.find_child_by_attribute("TextFrame", "Name", "t2");
    ASSERT_TRUE(t1 && t2);
    EXPECT_FALSE(copy.find_child_by_attribute("TextFrame", "Name", "far"));
    EXPECT_STREQ(t1.attribute("NextTextFrame").value(), t2.attribute("Self").value());
    EXPECT_STREQ(t2.attribute("PreviousTextFrame").value(), t1.attribute("Self").value());
    EXPECT_STREQ(t2.attribute("NextTextFrame").value(), "n");  // "far" stayed behind
    // The chain shares one copy of its story.
    EXPECT_STREQ(t1.attribute("ParentStory").value(), t2.attribute("ParentStory").value());
    EXPECT_STRNE(t1.attribute("ParentStory").value(), "u400");
    const pugi::xml_node link =
        copy.find_child_by_attribute("Rectangle", "Name", "picture").child("Image").child("Link");
    EXPECT_STREQ(link.attribute("LinkResourceURI").value(), "file:picture.tif");
    EXPECT_STRNE(link.attribute("Self").value(), "u501");
    // The original chain is as it was.
    const pugi::xml_node original = document->spread(0).spread;
    EXPECT_STREQ(original.find_child_by_attribute("TextFrame", "Name", "t2")
                     .attribute("NextTextFrame")
                     .value(),
                 "u303");
}

TEST_F(IdmlHost, ForgetAfterReadingTheSheetLeavesTheFileByteForByte) {
    const auto path = write(richSheet());
    const std::string before = readFile(path);
    {
        state::ToolState tool;
        const auto host = host::idml::IdmlHost::open({path});
        tool.hostApp = host;
        host::captureSpread(tool);
        EXPECT_EQ(tool.pageCount, 6);
        host->endNormally();
    }
    EXPECT_EQ(readFile(path), before);
}

TEST_F(IdmlHost, AShearedOrMirroredPageRectangleIsRefusedByNameOtherItemsAreKept) {
    for (const char* transform : {"1 0 0.3 1 500 300", "-1 0 0 1 500 300"}) {
        SCOPED_TRACE(transform);
        auto parts = sheetParts(richSheet());
        for (ZipEntry& entry : parts) {
            if (entry.name.rfind("Spreads/", 0) == 0) {
                // r300 sheared or mirrored; the diagonal line mirrored, which is no page.
                entry.data = std::regex_replace(
                    entry.data,
                    std::regex("(Name=\"r300\" ItemLayer=\"u90\" ItemTransform=\")[^\"]*"),
                    std::string("$01") + transform);
                entry.data = std::regex_replace(
                    entry.data,
                    std::regex("(Name=\"diagonal\" ItemLayer=\"u90\" ItemTransform=\")[^\"]*"),
                    "$01-1 0 0 1 300 400");
            }
        }
        const auto path = m_scratch / "sheared.idml";
        writeFile(path, zipArchive(parts));
        const std::string before = readFile(path);
        try {
            reflectFile(path, true);
            ADD_FAILURE() << "a sheared page rectangle was read";
        } catch (const host::HostError& error) {
            EXPECT_NE(std::string(error.what()).find("\"r300\" is sheared or mirrored"),
                      std::string::npos)
                << error.what();
        }
        EXPECT_EQ(readFile(path), before);
    }
}

}  // namespace
}  // namespace idmltest
