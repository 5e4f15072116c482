// Duplicating a page and writing a mirrored back side on the copy, as the
// tool's Reflect does, then reading the saved file back with a fresh load.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "SlaTestSupport.h"
#include "host/Capture.h"
#include "host/ExpectBounds.h"
#include "host/HostError.h"
#include "host/sla/read/SlaNumbers.h"

namespace {

using host::Bounds;
using slatest::itemsOf;

struct Snapshot {
    std::string name;
    std::string type;
    Bounds bounds;
    double angle;
};

std::vector<Snapshot> snapshot(host::Spread& spread) {
    std::vector<Snapshot> items;
    for (const auto& item : itemsOf(spread)) {
        items.push_back(
            {item->name(), item->typeName(), item->visibleBounds(), item->rotationAngle()});
    }
    return items;
}

struct Mirror {
    bool leftRight;
    Bounds bounds(const Bounds& b) const {
        return leftRight ? Bounds{b.top, 1000 - b.right, b.bottom, 1000 - b.left}
                         : Bounds{700 - b.bottom, b.left, 700 - b.top, b.right};
    }
    double angle(double a) const { return std::fmod((leftRight ? 360.0 : 540.0) - a, 360.0); }
};

// The tool's Reflect on the duplicate: rectangles take the mirrored front
// boxes by count, lines are mirrored in place, everything else stays.
void reflect(host::Spread& duplicate, const std::vector<Snapshot>& front, const Mirror& mirror) {
    std::vector<Snapshot> rectangles;
    for (const Snapshot& item : front) {
        if (item.type == "Rectangle") {
            rectangles.push_back(item);
        }
    }
    std::size_t k = 0;
    for (const auto& item : duplicate.pageItems()->enumerate()) {
        if (item->typeName() == "Rectangle") {
            item->setVisibleBounds(mirror.bounds(rectangles.at(k).bounds));
            item->setRotationAngle(mirror.angle(rectangles.at(k).angle));
            ++k;
        } else if (item->typeName() == "Line") {
            const Bounds b = item->visibleBounds();
            const double a = item->rotationAngle();
            item->setRotationAngle(mirror.angle(a));
            item->setVisibleBounds(mirror.bounds(b));
        }
    }
}

template <typename Visit>
void forEachObject(pugi::xml_node node, Visit visit) {
    for (pugi::xml_node child : node.children("PAGEOBJECT")) {
        visit(child);
        forEachObject(child, visit);
    }
}

void expectIdentitiesUnique(const host::sla::SlaDocument& document) {
    std::set<std::string> names;
    std::set<std::string> ids;
    forEachObject(document.documentNode(), [&](pugi::xml_node object) {
        if (object.attribute("ANNAME")) {
            EXPECT_TRUE(names.insert(object.attribute("ANNAME").value()).second)
                << object.attribute("ANNAME").value();
        }
        if (object.attribute("ItemID")) {
            EXPECT_TRUE(ids.insert(object.attribute("ItemID").value()).second);
        }
    });
}

struct ReflectCase {
    const char* situation;
    bool savedByScribus;
    const char* file;
    bool leftRight;
};

class SlaReflect : public testing::TestWithParam<ReflectCase> {};

TEST_P(SlaReflect, BackSideIsWrittenOnANewLastPage) {
    const ReflectCase& row = GetParam();
    slatest::ScratchFolder folder;
    const auto path = folder.copy(row.savedByScribus ? slatest::scribusSample(row.file)
                                                     : slatest::ownSample(row.file));
    const Mirror mirror{row.leftRight};
    std::vector<Snapshot> front;
    {
        const auto host = host::sla::SlaHost::open({path});
        const auto spread = host->activeWindow()->activeSpread();
        host::dissolveGroups(*spread->pageItems());
        front = snapshot(*spread);
        const auto duplicate = spread->pages()->item(1)->duplicate();
        reflect(*duplicate, front, mirror);
        host->saveChanged();
    }
    const auto reloaded = host::sla::SlaHost::open({path}, 2);
    const auto& document = *reloaded->openDocuments()[0];
    ASSERT_EQ(document.pageNodes().size(), 2U);
    EXPECT_STREQ(document.pageNodes()[1].attribute("PAGEYPOS").value(), "760");
    EXPECT_STREQ(document.pageNodes()[1].attribute("NUM").value(), "1");
    expectIdentitiesUnique(document);

    const auto back = snapshot(*reloaded->activeWindow()->activeSpread());
    ASSERT_EQ(back.size(), front.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        SCOPED_TRACE(front[i].name);
        EXPECT_EQ(back[i].name, front[i].name + " p2");
        EXPECT_EQ(back[i].type, front[i].type);
        const bool mirrored = front[i].type == "Rectangle" || front[i].type == "Line";
        slatest::expectBounds(back[i].bounds,
                              mirrored ? mirror.bounds(front[i].bounds) : front[i].bounds);
        EXPECT_NEAR(back[i].angle, mirrored ? mirror.angle(front[i].angle) : front[i].angle, 1e-9);
    }
    const auto page1 = host::sla::SlaHost::open({path}, 1)->activeWindow()->activeSpread();
    const auto unchanged = snapshot(*page1);
    ASSERT_EQ(unchanged.size(), front.size());
    for (std::size_t i = 0; i < front.size(); ++i) {
        EXPECT_EQ(unchanged[i].name, front[i].name);
        slatest::expectBounds(unchanged[i].bounds, front[i].bounds);
        EXPECT_EQ(unchanged[i].angle, front[i].angle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SlaReflect,
    testing::Values(ReflectCase{"ScribusSheetLeftRight", true, "sheet_1000x700.sla", true},
                    ReflectCase{"ScribusSheetTopBottom", true, "sheet_1000x700.sla", false},
                    ReflectCase{"ScribusGridLeftRight", true, "grid_64.sla", true},
                    ReflectCase{"ProjectSheetLeftRight", false, "sheet.sla", true},
                    ReflectCase{"ProjectSheetTopBottom", false, "sheet.sla", false}),
    [](const testing::TestParamInfo<ReflectCase>& param) { return param.param.situation; });

TEST(SlaDuplicate, CopiedGroupBelongsToTheNewPageThroughout) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("sheet_1000x700.sla"));
    const auto host = host::sla::SlaHost::open({path});
    const auto spread = host->activeWindow()->activeSpread();
    const Bounds groupBox = slatest::itemNamed(*spread, "Group_outer")->visibleBounds();
    const auto duplicate = spread->pages()->item(1)->duplicate();
    const auto copy = slatest::itemNamed(*duplicate, "Group_outer p2");
    slatest::expectBounds(copy->visibleBounds(), groupBox);

    int elements = 0;
    const auto check = [&](pugi::xml_node element) {
        ++elements;
        EXPECT_STREQ(element.attribute("OwnPage").value(), "1")
            << element.attribute("ANNAME").value();
    };
    check(copy->node());
    forEachObject(copy->node(), check);
    EXPECT_EQ(elements, 5);
    // Members keep their place inside the group; only absolute positions move down a page.
    const pugi::xml_node inner = copy->node().child("PAGEOBJECT");
    EXPECT_STREQ(inner.child("PAGEOBJECT").attribute("gXpos").value(), "0.5");
    EXPECT_STREQ(inner.child("PAGEOBJECT").attribute("YPOS").value(), "800");
    EXPECT_STREQ(host->openDocuments()[0]->documentNode().attribute("ANZPAGES").value(), "2");
    EXPECT_STREQ(host->openDocuments()[0]
                     ->documentNode()
                     .child("Sections")
                     .child("Section")
                     .attribute("To")
                     .value(),
                 "1");
}

TEST(SlaDuplicate, FacingLayoutPutsTheCopyOnTheNextSide) {
    slatest::ScratchFolder folder;
    std::string text = slatest::documentWith(
        "  <PAGEOBJECT ANNAME=\"R\" ItemID=\"7\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
        "XPOS=\"650\" "
        "YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\" NEXTITEM=\"7\" BACKITEM=\"99\"/>\n",
        "BOOK=\"1\"",
        "  <PAGE PAGEXPOS=\"600\" PAGEYPOS=\"20\" PAGEWIDTH=\"500\" PAGEHEIGHT=\"700\" NUM=\"0\" "
        "MNAM=\"Normal Right\"/>\n");
    text.replace(text.find("PAGEWIDTH=\"1000\""), 16, "PAGEWIDTH=\"500\"");
    const auto path = folder.write("facing.sla", text);
    const auto host = host::sla::SlaHost::open({path});
    const auto spread = host->activeWindow()->activeSpread();
    const auto duplicate = spread->pages()->item(1)->duplicate();
    const auto copies = itemsOf(*duplicate);
    ASSERT_EQ(copies.size(), 1U);
    slatest::expectBounds(copies[0]->visibleBounds(), {40, 50, 120, 150});
    // First page on the right: the second starts the next row, on the left.
    const pugi::xml_node page = host->openDocuments()[0]->pageNodes()[1];
    EXPECT_STREQ(page.attribute("PAGEXPOS").value(), "100");
    EXPECT_STREQ(page.attribute("PAGEYPOS").value(), "760");
    EXPECT_STREQ(page.attribute("MNAM").value(), "Normal Left");
    EXPECT_STREQ(copies[0]->node().attribute("XPOS").value(), "150");
    EXPECT_STREQ(copies[0]->node().attribute("YPOS").value(), "800");
    // The chain link to itself follows the copy; the one to an absent item is cut.
    EXPECT_STREQ(copies[0]->node().attribute("NEXTITEM").value(),
                 copies[0]->node().attribute("ItemID").value());
    EXPECT_STRNE(copies[0]->node().attribute("ItemID").value(), "7");
    EXPECT_STREQ(copies[0]->node().attribute("BACKITEM").value(), "-1");
}

}  // namespace
