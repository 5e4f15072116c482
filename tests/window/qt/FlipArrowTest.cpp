#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SheetFixture.h"

namespace {

using state::PageTable;
using ::testing::ElementsAre;
using testing_support::kHorizontalArrow;
using testing_support::kVerticalArrow;
using testing_support::previewOf;

class FlipArrows : public testing_support::SheetFixture {
protected:
    void SetUp() override {
        drawSixPages();
        load();
    }
};

TEST_F(FlipArrows, RightAfterStartUpOnlyTheVerticalArrowActsAndOnlyOnce) {
    const auto front = previewOf(ui(), 6, true);
    const auto leftRightBack = previewOf(ui(), 6, false);
    const PageTable leftRight = tool().backPages;

    click(kHorizontalArrow);  // left-right is already in force
    EXPECT_TRUE(m_recording.log.empty());
    EXPECT_TRUE(tool().flipLeftRight);
    EXPECT_EQ(tool().backPages, leftRight);

    click(kVerticalArrow);
    EXPECT_FALSE(tool().flipLeftRight);
    EXPECT_THAT(m_recording.log, ElementsAre("Image3.setPicture", "Image4.setPicture"));
    EXPECT_EQ(ui().Image3.picture(), ui().tArrDwn90.picture());  // vivid
    EXPECT_EQ(ui().Image4.picture(), ui().tArrUp0.picture());    // pale
    // r1 {50, 100, 350, 300} at 0 turns over top-bottom on a sheet 700 high.
    EXPECT_EQ(tool().backPages.at(0, PageTable::Top), 350.0);
    EXPECT_EQ(tool().backPages.at(0, PageTable::Bottom), 650.0);
    EXPECT_EQ(tool().backPages.at(0, PageTable::Left), 100.0);
    EXPECT_EQ(tool().backPages.at(0, PageTable::Angle), 180.0);
    EXPECT_EQ(previewOf(ui(), 6, true), front);
    const auto topBottomBack = previewOf(ui(), 6, false);
    EXPECT_NE(topBottomBack, leftRightBack);

    m_recording.log.clear();
    click(kVerticalArrow);  // top-bottom is in force now
    EXPECT_TRUE(m_recording.log.empty());
    EXPECT_FALSE(tool().flipLeftRight);
    EXPECT_EQ(previewOf(ui(), 6, false), topBottomBack);

    click(kHorizontalArrow);
    EXPECT_TRUE(tool().flipLeftRight);
    EXPECT_EQ(ui().Image3.picture(), ui().tArrUp90.picture());
    EXPECT_EQ(ui().Image4.picture(), ui().tArrDwn0.picture());
    EXPECT_EQ(tool().backPages, leftRight);
    EXPECT_EQ(previewOf(ui(), 6, false), leftRightBack);
    EXPECT_EQ(previewOf(ui(), 6, true), front);
    EXPECT_TRUE(m_ends.empty());
    EXPECT_TRUE(m_host.calls().empty());
}

}  // namespace
