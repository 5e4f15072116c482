#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/Capture.h"
#include "host/HostError.h"
#include "host/memory/MemoryHost.h"
#include "state/Errors.h"

namespace {

using host::Bounds;
using state::PageTable;
using ::testing::ElementsAre;

// A 1000 x 700 sheet whose one spread, shown in the window, starts with one page.
class Capture : public ::testing::Test {
protected:
    Capture() : doc(host.addDocument(1000, 700)), spread(doc.addSpread()), page(spread.addPage()) {
        host.showWindow(spread);
        tool.hostApp = host.application();
    }

    void capture() { host::captureSpread(tool); }

    // Page numbers and one column of the filled front rows.
    std::vector<int> numbers() const {
        std::vector<int> found;
        for (int row = 0; row < tool.pageCount; ++row) {
            found.push_back(tool.frontPages.number(static_cast<std::size_t>(row)));
        }
        return found;
    }

    std::vector<double> column(int which) const {
        std::vector<double> found;
        for (int row = 0; row < tool.pageCount; ++row) {
            found.push_back(tool.frontPages.at(static_cast<std::size_t>(row), which));
        }
        return found;
    }

    host::MemoryHost host;
    host::MemoryDocument& doc;
    host::MemorySpread& spread;
    host::MemoryPage& page;
    state::ToolState tool;
};

TEST_F(Capture, AnEmptySpreadTakesOneUngroupPassAndNothingElse) {
    capture();
    EXPECT_THAT(host.calls(), ElementsAre("app.pacw", "window.ActiveSpread", "spread1.pits",
                                          "spread1.items.enumerate", "spread1.items.enumerate"));
    EXPECT_EQ(tool.pageCount, 0);
    EXPECT_EQ(tool.frontCapacity, 32);
    ASSERT_EQ(tool.frontPages.rowCount(), 33u);
    for (std::size_t row = 0; row < 33; ++row) {
        EXPECT_TRUE(tool.frontPages.isRowEmpty(row)) << "row " << row;
    }
}

TEST_F(Capture, NestedGroupsAreDissolvedBeforeTheRectanglesAreRead) {
    page.addRectangle("r1", {0, 0, 100, 100});
    auto& outer = page.addGroup("g1");
    outer.addRectangle("r2", {0, 100, 100, 200});
    auto& inner = outer.addGroup("g2");
    inner.addRectangle("r3", {100, 0, 200, 100});
    inner.addRectangle("r4", {100, 100, 200, 200});
    page.addRectangle("r5", {200, 0, 300, 100});
    capture();

    const auto read = [](const char* label) {
        const std::string name(label);
        return std::vector<std::string>{name + ".typeName", name + ".VisibleBounds",
                                        name + ".RotationAngle"};
    };
    std::vector<std::string> expected = {
        "app.pacw", "window.ActiveSpread", "spread1.pits",
        // Pass 1 dissolves g1; g2 comes up to the top level after the snapshot.
        "spread1.items.enumerate", "r1.typeName", "g1.typeName", "g1.Ungroup", "r5.typeName",
        // Pass 2 dissolves g2.
        "spread1.items.enumerate", "r1.typeName", "r2.typeName", "g2.typeName", "g2.Ungroup",
        "r5.typeName",
        // Pass 3 finds no group and ends the passes.
        "spread1.items.enumerate", "r1.typeName", "r2.typeName", "r3.typeName", "r4.typeName",
        "r5.typeName",
        // The capture pass.
        "spread1.items.enumerate"};
    for (const char* label : {"r1", "r2", "r3", "r4", "r5"}) {
        const auto calls = read(label);
        expected.insert(expected.end(), calls.begin(), calls.end());
    }
    EXPECT_EQ(host.calls(), expected);
    EXPECT_THAT(spread.labels(), ElementsAre("r1", "r2", "r3", "r4", "r5"));
    EXPECT_THAT(numbers(), ElementsAre(1, 3, 5, 7, 9));
    EXPECT_THAT(column(PageTable::Top), ElementsAre(0, 0, 100, 100, 200));
    EXPECT_THAT(column(PageTable::Left), ElementsAre(0, 100, 0, 100, 0));
}

TEST_F(Capture, OnlyRectanglesAreReadAndNumbered) {
    page.addLine("l1", {50, 0, 50, 1000});
    page.addRectangle("r1", {0, 0, 100, 200});
    page.addItem("TextFrame", "t1", {0, 0, 10, 10});
    page.addItem("Oval", "o1", {0, 0, 10, 10});
    // Type names are compared exactly.
    page.addItem("rectangle", "lower", {0, 0, 10, 10});
    page.addRectangle("r2", {300, 400, 500, 700});
    capture();

    const std::vector<std::string> others = {"l1.typeName", "t1.typeName", "o1.typeName",
                                             "lower.typeName"};
    const std::vector<std::string> calls = host.calls();
    const auto capturePass = std::find(calls.rbegin(), calls.rend(), "spread1.items.enumerate");
    const std::vector<std::string> lastPass(capturePass.base(), calls.end());
    EXPECT_THAT(lastPass,
                ElementsAre("l1.typeName", "r1.typeName", "r1.VisibleBounds", "r1.RotationAngle",
                            "t1.typeName", "o1.typeName", "lower.typeName", "r2.typeName",
                            "r2.VisibleBounds", "r2.RotationAngle"));
    EXPECT_EQ(tool.pageCount, 2);
    EXPECT_THAT(numbers(), ElementsAre(1, 3));
    EXPECT_THAT(column(PageTable::Right), ElementsAre(200, 700));
    EXPECT_TRUE(tool.frontPages.isRowEmpty(2));
}

struct TurnedCase {
    const char* situation;
    double degrees;
};

class TurnedRectangle : public Capture, public ::testing::WithParamInterface<TurnedCase> {};

TEST_P(TurnedRectangle, IsStoredAsTheHostReportsIt) {
    auto& shape = page.addRectangle("r1", {100, 200, 400, 450}, GetParam().degrees);
    const Bounds reported = shape.bounds();
    capture();
    const auto& row = tool.frontPages;
    EXPECT_EQ(row.at(0, PageTable::Angle), GetParam().degrees);
    EXPECT_EQ(row.at(0, PageTable::Top), reported.top);
    EXPECT_EQ(row.at(0, PageTable::Left), reported.left);
    EXPECT_EQ(row.at(0, PageTable::Bottom), reported.bottom);
    EXPECT_EQ(row.at(0, PageTable::Right), reported.right);
    EXPECT_EQ(row.at(0, PageTable::Height), reported.bottom - reported.top);
    EXPECT_EQ(row.at(0, PageTable::Width), reported.right - reported.left);
    EXPECT_EQ(row.number(0), 1);
}

INSTANTIATE_TEST_SUITE_P(Capture, TurnedRectangle,
                         ::testing::Values(TurnedCase{"Tilted", 30.0},
                                           TurnedCase{"JustShortOfAQuarter", 89.99},
                                           TurnedCase{"BeyondAFullTurn", 450.0},
                                           TurnedCase{"Clockwise", -90.0}),
                         [](const auto& turned) { return std::string(turned.param.situation); });

void addRectangles(host::MemoryPage& page, int count) {
    for (int i = 1; i <= count; ++i) {
        const double top = 10.0 * (i - 1);
        page.addRectangle("r" + std::to_string(i), {top, 0, top + 10, 20});
    }
}

TEST_F(Capture, TheTableGrowsRightAfterTheThirtySecondRectangle) {
    addRectangles(page, 33);
    // Stop the capture before the 33rd rectangle is even looked at.
    host.failOn("r33.typeName", 2);
    EXPECT_THROW(capture(), host::HostError);
    EXPECT_EQ(tool.pageCount, 32);
    EXPECT_EQ(tool.frontCapacity, 64);
    ASSERT_EQ(tool.frontPages.rowCount(), 65u);
    EXPECT_EQ(tool.frontPages.at(31, PageTable::Top), 310.0);
    EXPECT_EQ(tool.frontPages.number(31), 63);
    EXPECT_TRUE(tool.frontPages.isRowEmpty(32));
}

TEST_F(Capture, ThirtyOneRectanglesFitWithoutGrowth) {
    addRectangles(page, 31);
    capture();
    EXPECT_EQ(tool.pageCount, 31);
    EXPECT_EQ(tool.frontCapacity, 32);
    EXPECT_EQ(tool.frontPages.rowCount(), 33u);
}

TEST_F(Capture, TheRectangleBeyondTheLargestTableStopsTheCapture) {
    addRectangles(page, 32736);
    host.clearCalls();
    EXPECT_THROW(capture(), state::OverflowError);
    EXPECT_EQ(tool.pageCount, 32735);
    EXPECT_EQ(tool.frontCapacity, 32736);
    EXPECT_EQ(tool.frontPages.number(32734), 65469);
    EXPECT_EQ(host.calls().back(), "r32736.RotationAngle");
}

TEST_F(Capture, AFailingUngroupStopsTheCaptureAndKeepsWhatWasDissolved) {
    page.addGroup("g1").addGroup("g2").addRectangle("r1", {0, 0, 10, 10});
    host.failOn("g2.Ungroup");
    EXPECT_THROW(capture(), host::HostError);
    EXPECT_THAT(spread.labels(), ElementsAre("g2"));
    EXPECT_EQ(tool.pageCount, 0);
    EXPECT_EQ(host.calls().back(), "g2.Ungroup");
}

TEST_F(Capture, AWindowWithoutASpreadStopsTheCapture) {
    host.showEmptyWindow();
    EXPECT_THROW(capture(), host::HostError);
    EXPECT_THAT(host.calls(), ElementsAre("app.pacw", "window.ActiveSpread"));
    EXPECT_FALSE(tool.curSpread);
}

}  // namespace
