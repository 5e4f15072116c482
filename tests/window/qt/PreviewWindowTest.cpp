#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "FormFixture.h"

namespace {

using testing_support::FormFixture;

class Previews : public FormFixture {
protected:
    host::MemoryPage& sheet(double width, double height) {
        auto& spread = m_host.addDocument(width, height).addSpread();
        m_host.showWindow(spread);
        return spread.addPage();
    }

    void expectRunning() {
        ASSERT_TRUE(m_ends.empty()) << (m_reports.empty() ? "ended" : m_reports.front());
    }
};

TEST_F(Previews, StartUpFitsBothOutlinesAndShowsBothSides) {
    auto& page = sheet(1000, 700);
    page.addRectangle("r1", {0, 0, 300, 200}, 0);
    page.addRectangle("r2", {350, 500, 650, 700}, 90);
    load();
    expectRunning();

    // The designed 341 x 361 box holds a 1000 x 700 sheet at 0.341.
    EXPECT_EQ(tool().fitScale, 0.341);
    for (window::Outline* outline : {&ui().Shape1, &ui().Shape2}) {
        EXPECT_EQ(outline->width(), 341.0f);
        EXPECT_EQ(outline->height(), 238.7f);
    }
    EXPECT_EQ(ui().Shape2.left(), 432.0f);
    EXPECT_EQ(ui().Shape2.top(), 80.0f);
    EXPECT_TRUE(ui().Shape2.isVisible());

    auto& front = ui().Image1[1];
    EXPECT_EQ(front.top(), 80.0f + 119.0f);   // 80 + 0.341 * 350 = 199.35
    EXPECT_EQ(front.left(), 24.0f + 170.0f);  // 24 + 0.341 * 500 = 194.5, to even
    EXPECT_EQ(ui().Text3[1].text(), "3");
    EXPECT_TRUE(front.isVisible());
    // Mirrored left-right: r1 ends up at the back's right-hand edge.
    auto& back = ui().Image2[0];
    EXPECT_EQ(back.left(), 432.0f + 273.0f);  // 432 + 0.341 * 800 = 704.8
    EXPECT_EQ(back.top(), 80.0f);
    EXPECT_EQ(ui().Text4[1].text(), "4");
    EXPECT_TRUE(ui().Text4[1].isVisible());
    EXPECT_FALSE(ui().Image2.exists(2));
    EXPECT_TRUE(m_skin.isVisible());
}

TEST_F(Previews, APageWithoutSizeEndsTheToolWithAReport) {
    sheet(1000, 0).addRectangle("r1", {0, 0, 100, 100});
    load();
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_ends, std::vector<int>{1});
    EXPECT_FALSE(m_skin.isVisible());
    EXPECT_EQ(ui().Shape1.height(), 361.0f);
    EXPECT_EQ(tool().pageCount, 0);
}

// `count` page rectangles: all but the last tiny, packed in the sheet's top
// half; the last a large one of its own in the bottom half.
void fillSheet(host::MemoryPage& page, int count) {
    constexpr int kColumns = 200;
    for (int i = 0; i + 1 < count; ++i) {
        const int row = i / kColumns;
        const int column = i % kColumns;
        const double top = 2.0 * row;
        const double left = 5.0 * column;
        page.addRectangle("r" + std::to_string(i + 1), {top, left, top + 2, left + 5});
    }
    page.addRectangle("r" + std::to_string(count), {400, 100, 650, 600});
}

TEST_F(Previews, TheLargestSpreadIsCapturedWithAllItsMarkers) {
    constexpr int kMost = 32735;
    fillSheet(sheet(1000, 700), kMost);
    load();
    expectRunning();
    EXPECT_EQ(tool().pageCount, kMost);
    EXPECT_EQ(tool().frontCapacity, 32736);

    constexpr std::int16_t kLast = kMost - 1;
    EXPECT_FALSE(ui().Text3.exists(kMost));
    EXPECT_EQ(ui().Text3[kLast].text(), "65469");
    EXPECT_EQ(ui().Text4[kLast].text(), "65470");
    EXPECT_TRUE(ui().Image2[kLast].isVisible());
    auto& last = ui().Image1[kLast];
    EXPECT_EQ(last.top(), 80.0f + 136.0f);  // 0.341 * 400 = 136.4
    EXPECT_EQ(last.width(), 170.0f);        // 0.341 * 500 = 170.5, to even

    // The layer paints the last marker too (a small region keeps the test quick).
    const QRect corner(static_cast<int>(last.left()) + 2, static_cast<int>(last.top()) + 2, 1, 1);
    const QImage shown = m_skin.grab(corner).toImage();
    last.setVisible(false);
    const QImage hidden = m_skin.grab(corner).toImage();
    EXPECT_NE(shown.pixel(0, 0), hidden.pixel(0, 0));
}

TEST_F(Previews, OneRectangleMoreThanTheLargestSpreadEndsTheTool) {
    fillSheet(sheet(1000, 700), 32736);
    load();
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_ends, std::vector<int>{1});
    EXPECT_FALSE(m_skin.isVisible());
    EXPECT_EQ(tool().pageCount, 32735);
    // The capture stopped before the back side and the markers.
    EXPECT_FALSE(ui().Image1.exists(1));
}

}  // namespace
