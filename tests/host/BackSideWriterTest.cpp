#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/BackSideWriter.h"
#include "host/HostError.h"
#include "host/memory/MemoryHost.h"
#include "state/ToolState.h"

namespace {

using host::Bounds;
using host::HostError;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A 1000 x 700 sheet whose working spread is the one shown; the back rows are
// written by hand, so what lands on the duplicate can only come from them.
class BackSideWriter : public ::testing::Test {
protected:
    BackSideWriter()
        : doc(host.addDocument(1000, 700)), spread(doc.addSpread()), page(spread.addPage()) {}

    // Takes the shown spread as the working one, with `rows` filled back rows.
    void work(const std::vector<std::vector<double>>& rows) {
        host.showWindow(spread);
        tool.hostApp = host.application();
        tool.curSpread = tool.hostApp->activeWindow()->activeSpread();
        tool.sheetWidth = 1000.0;
        tool.sheetHeight = 700.0;
        tool.pageCount = static_cast<int>(rows.size());
        tool.backPages = state::PageTable(rows.size() + 1);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (int column = 0; column < 5; ++column) {
                tool.backPages.set(r, column, rows[r][static_cast<std::size_t>(column)]);
            }
        }
        host.clearCalls();
    }

    const host::MemoryItem& copyOf(const std::string& label) const {
        for (const auto& item : doc.spreads().back()->items()) {
            if (item->label() == label + "'") {
                return *item;
            }
        }
        throw std::logic_error("no copy of " + label);
    }

    static std::vector<std::string> puts(const std::vector<std::string>& calls) {
        std::vector<std::string> result;
        for (const auto& call : calls) {
            if (call.back() == '=') {
                result.push_back(call);
            }
        }
        return result;
    }

    host::MemoryHost host;
    host::MemoryDocument& doc;
    host::MemorySpread& spread;
    host::MemoryPage& page;
    state::ToolState tool;
};

TEST_F(BackSideWriter, DuplicatesThenWritesRectangleBoundsBeforeAngleAndLineAngleBeforeBounds) {
    page.addRectangle("r", {50, 100, 350, 300}, 90);
    page.addLine("l", {50, 100, 250, 100});
    work({{50, 700, 350, 900, 270}});

    host::writeBackSide(tool);

    EXPECT_THAT(host.calls(),
                ElementsAre("spread1.pags", "spread1.pages.Item(1)", "page1.Duplicate",
                            "spread2.pits", "spread2.items.enumerate", "r'.typeName", "l'.typeName",
                            "r'.VisibleBounds=", "r'.RotationAngle=", "l'.VisibleBounds",
                            "l'.RotationAngle", "l'.RotationAngle=", "l'.VisibleBounds="));
    EXPECT_EQ(copyOf("r").bounds(), (Bounds{50, 700, 350, 900}));
    EXPECT_EQ(copyOf("r").rotation(), 270.0);
    EXPECT_EQ(copyOf("l").bounds(), (Bounds{50, 900, 250, 900}));
    EXPECT_EQ(copyOf("l").rotation(), 0.0);
    // The original page stays as drawn; the working spread is now the duplicate.
    EXPECT_EQ(page.items()[0]->bounds(), (Bounds{50, 100, 350, 300}));
    EXPECT_EQ(tool.curSpread->pageItems()->enumerate()[0]->visibleBounds(),
              (Bounds{50, 700, 350, 900}));
}

TEST_F(BackSideWriter, OnlyExactTypeNamesAreWrittenAndOtherItemsTakeNoRow) {
    page.addItem("rectangle", "lower", {0, 0, 10, 10});
    page.addItem("TextFrame", "text", {0, 0, 10, 20});
    page.addItem("GraphicLine", "graphic", {0, 0, 0, 10});
    page.addRectangle("first", {50, 100, 350, 300});
    page.addItem("Oval", "oval", {0, 0, 10, 10});
    page.addRectangle("second", {400, 100, 600, 300});
    // Three back rows for two rectangles: the last row is simply not used.
    work({{1, 2, 3, 4, 0}, {10, 20, 30, 40, 180}, {100, 200, 300, 400, 90}});

    host::writeBackSide(tool);

    EXPECT_THAT(puts(host.calls()),
                ElementsAre("first'.VisibleBounds=", "first'.RotationAngle=",
                            "second'.VisibleBounds=", "second'.RotationAngle="));
    EXPECT_EQ(copyOf("first").bounds(), (Bounds{1, 2, 3, 4}));
    EXPECT_EQ(copyOf("second").bounds(), (Bounds{10, 20, 30, 40}));
    EXPECT_EQ(copyOf("second").rotation(), 180.0);
    EXPECT_EQ(copyOf("text").bounds(), (Bounds{0, 0, 10, 20}));
}

TEST_F(BackSideWriter, MoreRectanglesThanBackRowsIsRefusedBeforeAnyItemChanges) {
    page.addLine("l", {100, 200, 100, 800});
    page.addRectangle("a", {50, 100, 350, 300});
    page.addRectangle("b", {400, 100, 600, 300}, 90);
    page.addRectangle("c", {50, 400, 250, 700});
    work({{50, 700, 350, 900, 0}, {400, 700, 600, 900, 270}});

    try {
        host::writeBackSide(tool);
        FAIL() << "a rectangle without a back row was accepted";
    } catch (const HostError& error) {
        // Both counts are named: three on the page, two captured.
        EXPECT_THAT(error.what(), HasSubstr("holds 3 page rectangles, but 2 were read"));
    }

    EXPECT_TRUE(puts(host.calls()).empty());
    ASSERT_EQ(doc.spreads().size(), 2u);  // the duplicate itself stays
    EXPECT_EQ(copyOf("a").bounds(), (Bounds{50, 100, 350, 300}));
    EXPECT_EQ(copyOf("b").rotation(), 90.0);
}

TEST_F(BackSideWriter, APlainDuplicateAddsOnePageAndLeavesTheToolAsItWas) {
    page.addRectangle("r", {50, 100, 350, 300});
    work({{50, 700, 350, 900, 0}});
    const auto working = tool.curSpread;

    host::duplicateFirstPage(tool);

    EXPECT_THAT(host.calls(),
                ElementsAre("spread1.pags", "spread1.pages.Item(1)", "page1.Duplicate"));
    EXPECT_EQ(tool.curSpread, working);
    ASSERT_EQ(doc.spreads().size(), 2u);
    EXPECT_EQ(copyOf("r").bounds(), (Bounds{50, 100, 350, 300}));
}

}  // namespace
