#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "SheetFixture.h"

namespace {

using state::PageTable;
using testing_support::ControlLog;
using testing_support::previewOf;

struct RemovalCase {
    const char* situation;
    int rectangles;
    ControlLog removed;

    friend void PrintTo(const RemovalCase& c, std::ostream* os) { *os << c.situation; }
};

class RefreshRemovals : public testing_support::SheetFixture,
                        public testing::WithParamInterface<RemovalCase> {};

TEST_P(RefreshRemovals, RemovesTheRunTimeMarkersFirstThenFitsAndCapturesAgain) {
    for (int i = 0; i < GetParam().rectangles; ++i) {
        const double left = 50.0 + 300.0 * i;
        m_page.addRectangle("r" + std::to_string(i + 1), {50, left, 250, left + 200});
    }
    load();
    m_page.addRectangle("drawn later", {400, 100, 650, 300}, 90);

    act(&window::form::Form1::bRefreshClick);

    ASSERT_TRUE(m_ends.empty()) << firstReport();
    const ControlLog& removed = GetParam().removed;
    EXPECT_EQ(m_recording.entries(".remove("), removed);
    ASSERT_GE(m_recording.log.size(), removed.size());
    EXPECT_EQ(ControlLog(m_recording.log.begin(),
                         m_recording.log.begin() + static_cast<long>(removed.size())),
              removed);
    // The new capture holds the rectangle drawn since, with its markers shown.
    const int count = GetParam().rectangles + 1;
    EXPECT_EQ(tool().pageCount, count);
    EXPECT_EQ(tool().frontCapacity, 32);
    EXPECT_EQ(tool().frontPages.at(static_cast<std::size_t>(count - 1), PageTable::Angle), 90.0);
    EXPECT_EQ(tool().backPages.rowCount(), static_cast<std::size_t>(count + 1));
    EXPECT_TRUE(tool().side1Loaded && tool().side2Loaded);
    const auto front = previewOf(ui(), count, true);
    EXPECT_NE(front.back().find("shown"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Captures, RefreshRemovals,
    testing::Values(RemovalCase{"ThreeRectangles",
                                3,
                                {"Text3.remove(1)", "Text4.remove(1)", "Image1.remove(1)",
                                 "Image2.remove(1)", "Text3.remove(2)", "Text4.remove(2)",
                                 "Image1.remove(2)", "Image2.remove(2)"}},
                    RemovalCase{"OneRectangle", 1, {}}, RemovalCase{"NoRectangles", 0, {}}),
    [](const auto& row) { return std::string(row.param.situation); });

class Refresh : public testing_support::SheetFixture {};

TEST_F(Refresh, KeepsTheChosenDirectionAndFacesForTheNewlyActiveDocument) {
    drawSixPages();
    load();
    click(testing_support::kVerticalArrow);
    act(&window::form::Form1::bReflectMouseMove);
    auto& other = m_host.addDocument(1200, 600);
    auto& otherSpread = other.addSpread();
    otherSpread.addPage().addRectangle("s1", {100, 100, 300, 400});
    m_host.activate(other);
    m_host.showWindow(otherSpread);

    act(&window::form::Form1::bRefreshClick);

    ASSERT_TRUE(m_ends.empty()) << firstReport();
    EXPECT_EQ(tool().sheetWidth, 1200.0);
    EXPECT_EQ(tool().pageCount, 1);
    EXPECT_FALSE(tool().flipLeftRight);
    // Top-bottom on a sheet 600 high: 100 .. 300 becomes 300 .. 500, the head turned.
    EXPECT_EQ(tool().backPages.at(0, PageTable::Top), 300.0);
    EXPECT_EQ(tool().backPages.at(0, PageTable::Bottom), 500.0);
    EXPECT_EQ(tool().backPages.at(0, PageTable::Left), 100.0);
    EXPECT_EQ(tool().backPages.at(0, PageTable::Angle), 180.0);
    EXPECT_EQ(ui().Image3.picture(), ui().tArrDwn90.picture());
    EXPECT_FALSE(tool().reflectUp);
    EXPECT_EQ(ui().bReflect.picture(), ui().tReflectDown.picture());

    // The working spread is the new capture's.
    act(&window::form::Form1::bDuplicateClick);
    EXPECT_EQ(other.spreads().size(), 2u);
    EXPECT_EQ(m_doc.spreads().size(), 1u);
}

}  // namespace
