// Page markers as records, as every backend keeps them: what a backend is
// told so that it repaints, and the arrays by design name.

#include "window/MarkerRecords.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using window::Geometry;
using window::ToolkitError;

// The four fields, for comparing what the observer was told.
std::vector<float> fields(const Geometry& geometry) {
    return {geometry.left, geometry.top, geometry.width, geometry.height};
}

class Recorder : public window::RecordObserver<Geometry> {
public:
    void recordChanged(const Geometry& before, const Geometry& after) override {
        told.emplace_back(fields(before), fields(after));
    }
    std::vector<std::pair<std::vector<float>, std::vector<float>>> told;
};

class MarkerRecordsTest : public testing::Test {
protected:
    Recorder m_recorder;
    window::MarkerRecords<> m_markers{&m_recorder};
};

TEST_F(MarkerRecordsTest, AChangeTellsWhereTheMarkerWasAndIs) {
    auto& number = m_markers.frontNumbers()[0];
    number.setLeft(10);
    number.setWidth(25);
    ASSERT_EQ(m_recorder.told.size(), 2u);
    EXPECT_EQ(m_recorder.told[1].first, (std::vector<float>{10, 0, 0, 0}));
    EXPECT_EQ(m_recorder.told[1].second, (std::vector<float>{10, 0, 25, 0}));

    m_recorder.told.clear();
    number.setVisible(true);
    number.setText("3");
    ASSERT_EQ(m_recorder.told.size(), 2u);  // in place: before and after alike
    EXPECT_EQ(m_recorder.told[0].first, m_recorder.told[0].second);

    m_recorder.told.clear();
    number.setLeft(10);  // as it is: nothing to repaint
    number.setText("3");
    number.setVisible(true);
    EXPECT_TRUE(m_recorder.told.empty());
}

TEST_F(MarkerRecordsTest, ElementsComeHiddenAndAShownOneIsRepaintedAsItGoes) {
    auto& icons = m_markers.backIcons();
    icons[0].setLeft(456);
    icons[0].setVisible(true);
    m_recorder.told.clear();

    icons.create(1);
    icons.create(2);
    EXPECT_TRUE(m_recorder.told.empty());  // hidden: nothing shows yet
    EXPECT_EQ(icons[2].left(), 456.0f);
    EXPECT_FALSE(icons[2].isVisible());

    icons.remove(2);
    EXPECT_TRUE(m_recorder.told.empty());
    icons[1].setVisible(true);
    m_recorder.told.clear();
    icons.remove(1);
    ASSERT_EQ(m_recorder.told.size(), 1u);
    EXPECT_EQ(m_recorder.told[0].first, (std::vector<float>{456, 0, 0, 0}));
    EXPECT_FALSE(icons.exists(1));
    EXPECT_THROW(icons.remove(0), ToolkitError);
}

TEST_F(MarkerRecordsTest, ArraysByDesignNameAndHitsOnShownMarkersOnly) {
    EXPECT_EQ(&m_markers.icons("Image1"), &m_markers.frontIcons());
    EXPECT_EQ(&m_markers.icons("Image2"), &m_markers.backIcons());
    EXPECT_EQ(&m_markers.numbers("Text3"), &m_markers.frontNumbers());
    EXPECT_EQ(&m_markers.numbers("Text4"), &m_markers.backNumbers());
    EXPECT_THROW(m_markers.numbers("Image1"), ToolkitError);
    EXPECT_THROW(m_markers.icons("Text4"), ToolkitError);

    const auto at = [](float left) {
        return [left](const Geometry& geometry) { return geometry.left == left; };
    };
    m_markers.backNumbers().create(4);
    m_markers.backNumbers()[4].setLeft(70);
    EXPECT_FALSE(m_markers.anyShown(at(70)));
    m_markers.backNumbers()[4].setVisible(true);
    EXPECT_TRUE(m_markers.anyShown(at(70)));
    EXPECT_FALSE(m_markers.anyShown(at(71)));
}

}  // namespace
