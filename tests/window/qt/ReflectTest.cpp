#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "SheetFixture.h"
#include "host/ExpectBounds.h"

namespace {

using host::Bounds;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing_support::previewOf;

struct Placed {
    const char* label;
    Bounds box;
    double angle;
};

void expectPlaced(const host::MemoryItem& item, const Placed& expected) {
    SCOPED_TRACE(expected.label);
    testing_support::expectBoundsNear(item.bounds(), expected.box, 1e-9);
    EXPECT_NEAR(item.rotation(), expected.angle, 1e-9);
}

struct BackSideCase {
    const char* situation;
    bool verticalArrowFirst;
    std::vector<Placed> pages;  // r1 .. r6 on the duplicate
    std::vector<Placed> lines;  // l1, l2

    friend void PrintTo(const BackSideCase& c, std::ostream* os) { *os << c.situation; }
};

class Reflect : public testing_support::SheetFixture,
                public testing::WithParamInterface<BackSideCase> {};

TEST_P(Reflect, WritesTheBackSideOnADuplicateOfTheFirstPageAndEnds) {
    drawSixPages();
    load();
    if (GetParam().verticalArrowFirst) {
        click(testing_support::kVerticalArrow);
    }
    click(testing_support::kReflectButton);

    ASSERT_TRUE(m_reports.empty()) << firstReport();
    EXPECT_EQ(m_ends, std::vector<int>{0});
    ASSERT_EQ(m_doc.spreads().size(), 2u);
    for (const Placed& page : GetParam().pages) {
        expectPlaced(copyOf(page.label), page);
    }
    for (const Placed& line : GetParam().lines) {
        expectPlaced(copyOf(line.label), line);
    }
    // Other items stay as drawn, and the sheet drawn by the user is untouched.
    expectPlaced(copyOf("t1"), {"t1", {10, 10, 40, 60}, 0});
    expectPlaced(*m_page.items()[0], {"r1", {50, 100, 350, 300}, 0});
    // The duplicate is now the working spread.
    const auto items = tool().curSpread->pageItems()->enumerate();
    EXPECT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0]->visibleBounds(), copyOf("r1").bounds());
}

// On 1000 x 700: left-right takes x to 1000 - x, top-bottom y to 700 - y.
INSTANTIATE_TEST_SUITE_P(BothDirections, Reflect,
                         testing::Values(BackSideCase{"LeftRightAsStarted",
                                                      false,
                                                      {{"r1", {50, 700, 350, 900}, 0},
                                                       {"r2", {50, 300, 250, 600}, 270},
                                                       {"r3", {400, 750, 650, 900}, 180},
                                                       {"r4", {400, 400, 600, 700}, 90},
                                                       {"r5", {100, 50, 300, 250}, 330},
                                                       {"r6", {450, 50, 650, 300}, 0}},
                                                      {{"l1", {100, 200, 100, 800}, 0},
                                                       {"l2", {50, 900, 250, 900}, 0}}},
                                         BackSideCase{"TopBottomAfterTheVerticalArrow",
                                                      true,
                                                      {{"r1", {350, 100, 650, 300}, 180},
                                                       {"r2", {450, 400, 650, 700}, 90},
                                                       {"r3", {50, 100, 300, 250}, 0},
                                                       {"r4", {100, 300, 300, 600}, 270},
                                                       {"r5", {400, 750, 600, 950}, 330},
                                                       {"r6", {50, 700, 250, 950}, 180}},
                                                      {{"l1", {600, 200, 600, 800}, 180},
                                                       {"l2", {450, 100, 650, 100}, 180}}}),
                         [](const auto& row) { return std::string(row.param.situation); });

class Buttons : public testing_support::SheetFixture {};

TEST_F(Buttons, ReflectOnAPageWithoutRectanglesOrLinesStillDuplicatesAndEnds) {
    m_page.addItem("TextFrame", "t1", {10, 10, 40, 60});
    load();
    click(testing_support::kReflectButton);
    EXPECT_EQ(m_ends, std::vector<int>{0});
    ASSERT_EQ(m_doc.spreads().size(), 2u);
    EXPECT_EQ(copyOf("t1").bounds(), (Bounds{10, 10, 40, 60}));
}

TEST_F(Buttons, ReflectRefusesARectangleDrawnSinceTheCaptureAndChangesNoItem) {
    drawSixPages();
    load();
    m_page.addRectangle("r7", {0, 0, 20, 20});
    act(&window::form::Form1::bReflectClick);

    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_THAT(m_reports.front(), HasSubstr(" 7 "));
    EXPECT_THAT(m_reports.front(), HasSubstr(" 6 "));
    EXPECT_EQ(m_ends, std::vector<int>{1});
    expectPlaced(copyOf("r1"), {"r1", {50, 100, 350, 300}, 0});
    expectPlaced(copyOf("l2"), {"l2", {50, 100, 250, 100}, 0});
}

// Everything Duplicate must leave alone, compared in one go.
struct ToolSnapshot {
    int pageCount;
    std::int16_t frontCapacity;
    state::PageTable frontPages, backPages;
    const void *curSpread, *spreadItems, *activeDoc;
    bool flipLeftRight, side1Loaded, side2Loaded, reflectUp, duplicateUp, forgetUp, refreshUp;
    float dragX, dragY, winLeft;
    std::int16_t winTop;
    std::optional<double> sheetWidth, sheetHeight, fitScale;

    explicit ToolSnapshot(const state::ToolState& s)
        : pageCount(s.pageCount),
          frontCapacity(s.frontCapacity),
          frontPages(s.frontPages),
          backPages(s.backPages),
          curSpread(s.curSpread.get()),
          spreadItems(s.spreadItems.get()),
          activeDoc(s.activeDoc.get()),
          flipLeftRight(s.flipLeftRight),
          side1Loaded(s.side1Loaded),
          side2Loaded(s.side2Loaded),
          reflectUp(s.reflectUp),
          duplicateUp(s.duplicateUp),
          forgetUp(s.forgetUp),
          refreshUp(s.refreshUp),
          dragX(s.dragX),
          dragY(s.dragY),
          winLeft(s.winLeft),
          winTop(s.winTop),
          sheetWidth(s.sheetWidth),
          sheetHeight(s.sheetHeight),
          fitScale(s.fitScale) {}
    bool operator==(const ToolSnapshot&) const = default;
};

TEST_F(Buttons, DuplicateTwiceAddsTwoPlainPagesAndChangesNothingInTheTool) {
    drawSixPages();
    load();
    const ToolSnapshot before(tool());
    const auto frontBefore = previewOf(ui(), 6, true);
    const auto backBefore = previewOf(ui(), 6, false);

    act(&window::form::Form1::bDuplicateClick);
    act(&window::form::Form1::bDuplicateClick);

    ASSERT_TRUE(m_ends.empty()) << firstReport();
    EXPECT_THAT(m_host.calls(),
                ElementsAre("spread1.pags", "spread1.pages.Item(1)", "page1.Duplicate",
                            "spread1.pags", "spread1.pages.Item(1)", "page1.Duplicate"));
    ASSERT_EQ(m_doc.spreads().size(), 3u);
    for (const auto& spread : {m_doc.spreads()[1], m_doc.spreads()[2]}) {
        EXPECT_THAT(spread->labels(),
                    ElementsAre("r1'", "t1'", "r2'", "r3'", "l1'", "r4'", "r5'", "r6'", "l2'"));
    }
    expectPlaced(copyOf("r2"), {"r2", {50, 400, 250, 700}, 90});
    EXPECT_TRUE(ToolSnapshot(tool()) == before);
    EXPECT_EQ(previewOf(ui(), 6, true), frontBefore);
    EXPECT_EQ(previewOf(ui(), 6, false), backBefore);
    EXPECT_TRUE(m_recording.log.empty());
    EXPECT_TRUE(m_skin.isVisible());
}

TEST_F(Buttons, ForgetEndsAtOnceWithoutTouchingTheHostAndNothingRunsAfterIt) {
    drawSixPages();
    load();
    click(testing_support::kForgetButton);
    EXPECT_EQ(m_ends, std::vector<int>{0});
    EXPECT_TRUE(m_reports.empty());

    click(testing_support::kReflectButton);
    act(&window::form::Form1::bDuplicateClick);
    EXPECT_EQ(m_ends, std::vector<int>{0});
    EXPECT_TRUE(m_host.calls().empty());
    EXPECT_EQ(m_doc.spreads().size(), 1u);
}

}  // namespace
