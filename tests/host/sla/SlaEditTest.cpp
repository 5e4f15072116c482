// Changing documents through the host: puts of boxes and angles, ungrouping,
// and duplicating a page, each read back from the saved file by a fresh load.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include <pugixml.hpp>

#include "SlaTestSupport.h"
#include "host/Capture.h"
#include "host/ExpectBounds.h"
#include "host/HostError.h"
#include "host/sla/read/SlaGeometry.h"
#include "host/sla/read/SlaPath.h"
#include "host/sla/write/SlaChanges.h"
#include "host/sla/write/SlaEdits.h"

namespace {

using host::Bounds;
using slatest::itemNamed;
using slatest::itemsOf;

void expectBounds(const Bounds& actual, const Bounds& expected) {
    testing_support::expectBoundsNear(actual, expected, 1e-6);
}

std::shared_ptr<host::Spread> spreadOf(const std::filesystem::path& path) {
    return host::sla::SlaHost::open({path})->activeWindow()->activeSpread();
}

TEST(SlaEdit, RotationTurnsAboutTheBoxCentre) {
    const auto spread = spreadOf(slatest::ownSample("sheet.sla"));
    const auto page = itemNamed(*spread, "Page 1 head up");  // box 50,50 – 350,250
    page->setRotationAngle(90);
    EXPECT_DOUBLE_EQ(page->rotationAngle(), 90);
    expectBounds(page->visibleBounds(), {100, 0, 300, 300});
    page->setRotationAngle(-360);  // any angle is accepted and reduced
    EXPECT_DOUBLE_EQ(page->rotationAngle(), 0);
    expectBounds(page->visibleBounds(), {50, 50, 350, 250});
    EXPECT_THROW(page->setRotationAngle(NAN), host::HostError);
}

TEST(SlaEdit, AnItemWritesFromTheFrameTheDocumentHoldsNow) {
    // Two objects for one item: a write through the other one between a
    // bounds put and an angle put of the first must not be undone by the angle put.
    const auto spread = spreadOf(slatest::ownSample("sheet.sla"));
    const auto page = itemNamed(*spread, "Page 1 head up");  // box 50,50 – 350,250
    const auto same = itemNamed(*spread, "Page 1 head up");
    page->setVisibleBounds({50, 50, 350, 250});
    same->setVisibleBounds({60, 70, 360, 270});
    page->setRotationAngle(180);
    expectBounds(page->visibleBounds(), {60, 70, 360, 270});
    // And without one between, each put goes on from the last.
    page->setVisibleBounds({10, 20, 310, 220});
    page->setRotationAngle(90);
    expectBounds(same->visibleBounds(), {60, -30, 260, 270});
    EXPECT_DOUBLE_EQ(same->rotationAngle(), 90);
}

TEST(SlaEdit, MirroredAnglesKeepTheBox) {
    const auto spread = spreadOf(slatest::scribusSample("sheet_1000x700.sla"));
    for (const char* name : {"Rect_F30", "Rect_C90", "Line_D45", "Line_V1"}) {
        SCOPED_TRACE(name);
        const auto item = itemNamed(*spread, name);
        const Bounds before = item->visibleBounds();
        const double angle = item->rotationAngle();
        item->setRotationAngle(360 - angle);  // left-right mirror
        expectBounds(item->visibleBounds(), before);
        item->setRotationAngle(180 - angle);  // top-bottom mirror
        expectBounds(item->visibleBounds(), before);
        EXPECT_NEAR(item->rotationAngle(), std::fmod(540 - angle, 360), 1e-9);
    }
}

TEST(SlaEdit, BoundsPutKeepsTheRotation) {
    struct Row {
        const char* situation;
        const char* name;
        Bounds target;
    };
    const Row rows[] = {
        {"upright frame moved and resized", "Rect_A0", {10, 20, 110, 320}},
        {"quarter-turned frame resized", "Rect_C90", {0, 0, 300, 100}},
        {"frame at 30 degrees moved", "Rect_F30", {0, 0, 161.6025403784, 179.9038105677}},
        {"frame at 30 degrees resized", "Rect_F30", {0, 0, 200, 250}},
        {"diagonal line", "Line_D45", {10, 10, 110, 110}},
        {"line drawn right to left", "Line_H2", {600, 20, 600, 320}},
        {"line drawn upwards", "Line_V2", {100, 900, 500, 900}},
        {"group", "Group_outer", {0, 0, 442, 302}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        const auto item =
            itemNamed(*spreadOf(slatest::scribusSample("sheet_1000x700.sla")), row.name);
        const double angle = item->rotationAngle();
        item->setVisibleBounds(row.target);
        expectBounds(item->visibleBounds(), row.target);
        EXPECT_DOUBLE_EQ(item->rotationAngle(), angle);
    }
}

TEST(SlaEdit, ResizingRewritesTheOutline) {
    const auto item =
        itemNamed(*spreadOf(slatest::scribusSample("sheet_1000x700.sla")), "Rect_C90");
    item->setVisibleBounds({0, 0, 300, 100});  // turned by 90: the frame is 300 × 100
    EXPECT_STREQ(item->node().attribute("WIDTH").value(), "300");
    EXPECT_STREQ(item->node().attribute("HEIGHT").value(), "100");
    EXPECT_STREQ(item->node().attribute("path").value(), "M0 0 L300 0 L300 100 L0 100 L0 0 Z");
    EXPECT_STREQ(item->node().attribute("copath").value(), "M0 0 L300 0 L300 100 L0 100 L0 0 Z");
}

TEST(SlaEdit, OutlinePathsScaleWhateverNumberFormTheyUse) {
    struct Row {
        const char* path;
        const char* scaled;  // by 2 across, 3 down
    };
    const Row rows[] = {
        {"M0 0 L1e-05 0 L10 -1.5e+2 Z", "M0 0 L0.00002 0 L20 -450 Z"},
        {"M0,0L10,5", "M0 0 L20 15"},
        {"M-5-5 H+4 V2E1", "M-10 -15 H8 V60"},
        {"M1.5.5", "M3 1.5"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(host::sla::scaledPath(row.path, 2, 3), row.scaled) << row.path;
    }
    for (const char* bad : {"5 M", "M--5", "M-inf 0", "M1e999 0", "M1 +"}) {
        EXPECT_THROW(host::sla::scaledPath(bad, 2, 3), host::HostError) << bad;
    }
}

TEST(SlaEdit, ImpossibleBoundsAreRefused) {
    const auto spread = spreadOf(slatest::scribusSample("sheet_1000x700.sla"));
    const auto upright = itemNamed(*spread, "Rect_A0");
    EXPECT_THROW(upright->setVisibleBounds({0, 0, NAN, 10}), host::HostError);
    EXPECT_THROW(upright->setVisibleBounds({10, 0, 0, 10}), host::HostError);
    // No frame turned by 30° has a box 400 wide and only 10 tall.
    EXPECT_THROW(itemNamed(*spread, "Rect_F30")->setVisibleBounds({0, 0, 10, 400}),
                 host::HostError);
    expectBounds(upright->visibleBounds(), {40, 40, 240, 190});
}

// A handle outlives its element's removal and tells it from an element made
// later where the removed one was (pugixml may reuse the memory).
TEST(SlaEdit, HandlesKnowWhetherTheirElementWasRemoved) {
    std::string text = "<D><G/><A/><B/></D>";
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_buffer_inplace(text.data(), text.size(), host::sla::kParseFlags));
    host::sla::SlaEdits edits("sheet.sla");
    edits.start(text.data(), text.size());
    const pugi::xml_node root = xml.child("D");

    const host::sla::NodeHandle group = edits.handle(root.child("G"));
    const host::sla::NodeHandle a = edits.handle(root.child("A"));
    EXPECT_TRUE(edits.alive(group));
    edits.removeNode(root.child("G"));
    EXPECT_FALSE(edits.alive(group));
    EXPECT_TRUE(edits.alive(a));
    // An element at the removed one's address, handled after the removal.
    const host::sla::NodeHandle later = edits.handle(group.node);
    EXPECT_TRUE(edits.alive(later));

    const host::sla::NodeHandle b = edits.handle(root.child("B"));
    edits.removeNode(root.child("A"));
    EXPECT_FALSE(edits.alive(a));
    EXPECT_TRUE(edits.alive(b));
    EXPECT_TRUE(edits.alive(later)) << "another element's removal retires only its own handles";
    EXPECT_EQ(std::strcmp(root.first_child().name(), "B"), 0);
}

TEST(SlaEdit, NestedGroupsDissolveIntoTheirMembersInPlace) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("sheet_1000x700.sla"));
    const auto host = host::sla::SlaHost::open({path});
    const auto spread = host->activeWindow()->activeSpread();
    const auto group = itemNamed(*spread, "Group_outer");
    host::dissolveGroups(*spread->pageItems());
    EXPECT_THROW(group->ungroup(), host::HostError);  // it no longer exists
    EXPECT_THROW(itemNamed(*spread, "Rect_A0")->ungroup(), host::HostError);
    // Dissolving groups alone leaves the file alone; the next real change
    // writes them dissolved.
    const std::string before = slatest::readFile(path);
    host->saveChanged();
    EXPECT_EQ(slatest::readFile(path), before);
    spread->pages()->item(1)->duplicate();
    host->saveChanged();
    EXPECT_NE(slatest::readFile(path), before);

    const auto reloaded = spreadOf(path);
    const auto names = slatest::namesOf(*reloaded);
    ASSERT_EQ(names.size(), 16U);
    EXPECT_EQ(std::vector<std::string>(names.begin() + 13, names.end()),
              (std::vector<std::string>{"Grp_R1", "Grp_R2", "Grp_R3"}));
    expectBounds(itemNamed(*reloaded, "Grp_R1")->visibleBounds(), {40, 820, 140, 890});
    expectBounds(itemNamed(*reloaded, "Grp_R2")->visibleBounds(), {40, 900, 140, 970});
    expectBounds(itemNamed(*reloaded, "Grp_R3")->visibleBounds(), {160, 820, 260, 970});
}

// A group turned 90° clockwise and drawn at twice its grouped size, holding
// two 20 × 10 rectangles at (0,0) and (30,20) of its 50 × 30 frame.
std::string turnedGroup(const char* secondMemberRotation) {
    return slatest::documentWith(
        std::string(
            "  <PAGEOBJECT ANNAME=\"G\" PTYPE=\"12\" OwnPage=\"0\" XPOS=\"300\" "
            "YPOS=\"100\" WIDTH=\"100\" HEIGHT=\"60\" ROT=\"90\" groupWidth=\"50\" "
            "groupHeight=\"30\">\n"
            "   <PAGEOBJECT ANNAME=\"A\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" XPOS=\"300\" "
            "YPOS=\"100\" WIDTH=\"20\" HEIGHT=\"10\" PWIDTH=\"1\" gXpos=\"0\" gYpos=\"0\" "
            "path=\"M0 0 L20 0 L20 10 L0 10 L0 0 Z\"/>\n"
            "   <PAGEOBJECT ANNAME=\"B\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" XPOS=\"330\" "
            "YPOS=\"120\" WIDTH=\"20\" HEIGHT=\"10\" ") +
        secondMemberRotation +
        " gXpos=\"30\" gYpos=\"20\" path=\"M0 0 L20 0 L20 10 L0 10 L0 0 Z\"/>\n"
        "  </PAGEOBJECT>\n");
}

TEST(SlaEdit, TurnedAndScaledGroupKeepsItsMembersWhereTheyWereDrawn) {
    slatest::ScratchFolder folder;
    const auto path = folder.write("turned.sla", turnedGroup(""));
    const auto host = host::sla::SlaHost::open({path});
    const auto spread = host->activeWindow()->activeSpread();
    // The group's box: (240..300) × (100..200) on the canvas, so 140..200 × 80..180 on the page.
    expectBounds(itemsOf(*spread)[0]->visibleBounds(), {80, 140, 180, 200});
    host::dissolveGroups(*spread->pageItems());
    host->openDocuments()[0]->markChanged();  // as the next real edit would
    host->saveChanged();

    const auto reloaded = spreadOf(path);
    ASSERT_EQ(slatest::namesOf(*reloaded), (std::vector<std::string>{"A", "B"}));
    const auto a = itemNamed(*reloaded, "A");
    const auto b = itemNamed(*reloaded, "B");
    expectBounds(a->visibleBounds(), {80, 180, 120, 200});
    expectBounds(b->visibleBounds(), {140, 140, 180, 160});
    EXPECT_DOUBLE_EQ(a->rotationAngle(), 270);
    EXPECT_STREQ(a->node().attribute("WIDTH").value(), "40");
    EXPECT_STREQ(a->node().attribute("PWIDTH").value(), "2");
    EXPECT_STREQ(a->node().attribute("path").value(), "M0 0 L40 0 L40 20 L0 20 L0 0 Z");
}

TEST(SlaEdit, UnevenlyStretchedGroupWithSlantedMemberIsLeftAlone) {
    slatest::ScratchFolder folder;
    std::string text = turnedGroup("ROT=\"30\"");
    text.replace(text.find("HEIGHT=\"60\""), 11, "HEIGHT=\"90\"");  // scale 2 × 3
    const auto path = folder.write("stretched.sla", text);
    const auto host = host::sla::SlaHost::open({path});
    EXPECT_THROW(itemsOf(*host->activeWindow()->activeSpread())[0]->ungroup(), host::HostError);
    EXPECT_FALSE(host->openDocuments()[0]->changed());
}

}  // namespace
