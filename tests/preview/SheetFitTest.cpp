#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeToolkit.h"
#include "host/memory/MemoryHost.h"
#include "preview/SheetFit.h"

namespace {

using ::testing::ElementsAre;
using testing_support::FakeToolkit;

class SheetFit : public ::testing::Test {
protected:
    SheetFit() {
        tool.hostApp = host.application();
        tool.boxWidth = 4000;
        tool.boxHeight = 3000;
    }

    void fit() { preview::drawSheet(tool, ui); }

    host::MemoryHost host;
    state::ToolState tool;
    FakeToolkit fake;
    window::Controls ui = fake.controls();
};

struct FitCase {
    const char* situation;
    float boxWidth, boxHeight;
    double pageWidth, pageHeight;
    double fitScale;
    float width, height;
    bool heightFirst;  // the width limits the fit: Height is set before Width
};

class Fitting : public SheetFit, public ::testing::WithParamInterface<FitCase> {};

TEST_P(Fitting, FitsTheSheetIntoTheDesignedBox) {
    const FitCase& c = GetParam();
    tool.boxWidth = c.boxWidth;
    tool.boxHeight = c.boxHeight;
    host.addDocument(c.pageWidth, c.pageHeight);
    fit();

    EXPECT_THAT(host.calls(), ElementsAre("app.pacd", "doc1.dcpp", "doc1.prefs.pageWidth",
                                          "doc1.prefs.pageHeight"));
    EXPECT_EQ(tool.sheetWidth, c.pageWidth);
    EXPECT_EQ(tool.sheetHeight, c.pageHeight);
    EXPECT_EQ(tool.fitScale, c.fitScale);
    EXPECT_EQ(fake.Shape1.width(), c.width);
    EXPECT_EQ(fake.Shape1.height(), c.height);
    EXPECT_EQ(fake.Shape2.width(), c.width);
    EXPECT_EQ(fake.Shape2.height(), c.height);
    // Only the sizes change; both outlines stay anchored where they were designed.
    const auto first = c.heightFirst ? "Shape1.Height" : "Shape1.Width";
    const auto second = c.heightFirst ? "Shape1.Width" : "Shape1.Height";
    EXPECT_THAT(fake.log, ElementsAre(first, second, "Shape2.Width", "Shape2.Height"));
    EXPECT_EQ(fake.Shape1.left(), 24.0f);
    EXPECT_EQ(fake.Shape1.top(), 80.0f);
    EXPECT_EQ(fake.Shape2.left(), 432.0f);
}

INSTANTIATE_TEST_SUITE_P(
    SheetFit, Fitting,
    ::testing::Values(
        FitCase{"WiderThanTheBox", 4000, 3000, 1000, 700, 4.0, 4000, 2800, true},
        FitCase{"TallerThanTheBox", 4000, 3000, 1000, 800, 3.75, 3750, 3000, false},
        FitCase{"SameProportionsAsTheBox", 4000, 3000, 1000, 750, 4.0, 4000, 3000, true},
        FitCase{"FarWiderThanTheBox", 4000, 3000, 10000, 10, 0.4, 4000, 4, true},
        // The window's own box: 341 x 361; the height is a single, not a whole unit.
        FitCase{"DesignedBox", 341, 361, 1000, 700, 0.341, 341, 238.7f, true},
        FitCase{"DesignedBoxTallSheet", 341, 361, 500, 1000, 0.361, 180.5f, 361, false}),
    [](const auto& row) { return std::string(row.param.situation); });

TEST_F(SheetFit, TheBackOutlineTakesWhatTheToolkitMadeOfTheFront) {
    fake.Shape1.roundSizes();
    tool.boxWidth = 341;
    tool.boxHeight = 361;
    host.addDocument(1000, 700);
    fit();
    EXPECT_EQ(fake.Shape1.height(), 239.0f);
    EXPECT_EQ(fake.Shape2.height(), 239.0f);
    EXPECT_EQ(fake.Shape2.width(), 341.0f);
}

TEST_F(SheetFit, FittingAgainGivesTheSameOutline) {
    host.addDocument(1000, 800);
    fit();
    const auto firstLog = fake.log;
    const auto firstScale = tool.fitScale;
    fake.log.clear();
    fit();
    EXPECT_EQ(fake.log, firstLog);
    EXPECT_EQ(tool.fitScale, firstScale);
    EXPECT_EQ(fake.Shape1.width(), 3750.0f);
    EXPECT_EQ(fake.Shape1.height(), 3000.0f);
}

TEST_F(SheetFit, ANewPageSizeIsFittedIntoTheDesignedBoxNotTheLastOutline) {
    host.addDocument(1000, 800);
    fit();
    auto& wide = host.addDocument(1000, 700);
    host.clearCalls();
    fit();
    EXPECT_THAT(host.calls(), ElementsAre("app.pacd", "doc2.dcpp", "doc2.prefs.pageWidth",
                                          "doc2.prefs.pageHeight"));
    EXPECT_EQ(wide.pageWidth(), *tool.sheetWidth);
    EXPECT_EQ(tool.fitScale, 4.0);
    EXPECT_EQ(fake.Shape1.width(), 4000.0f);
    EXPECT_EQ(fake.Shape1.height(), 2800.0f);
    EXPECT_EQ(fake.Shape2.height(), 2800.0f);
}

struct EmptySheetCase {
    const char* situation;
    double pageWidth, pageHeight;
};

class EmptySheet : public SheetFit, public ::testing::WithParamInterface<EmptySheetCase> {};

TEST_P(EmptySheet, IsAnErrorAndLeavesTheOutlinesAlone) {
    host.addDocument(GetParam().pageWidth, GetParam().pageHeight);
    EXPECT_THROW(fit(), preview::SheetError);
    // What was read before the failure stays.
    EXPECT_EQ(tool.sheetWidth, GetParam().pageWidth);
    EXPECT_EQ(tool.sheetHeight, GetParam().pageHeight);
    EXPECT_FALSE(tool.fitScale.has_value());
    EXPECT_TRUE(fake.log.empty());
}

INSTANTIATE_TEST_SUITE_P(SheetFit, EmptySheet,
                         ::testing::Values(EmptySheetCase{"NoWidth", 0, 700},
                                           EmptySheetCase{"NoHeight", 1000, 0},
                                           EmptySheetCase{"Neither", 0, 0}),
                         [](const auto& row) { return std::string(row.param.situation); });

TEST_F(SheetFit, WithoutAnOpenDocumentNothingIsFitted) {
    host.failOn("app.pacd");
    EXPECT_ANY_THROW(fit());
    EXPECT_FALSE(tool.sheetWidth.has_value());
    EXPECT_TRUE(fake.log.empty());
}

}  // namespace
