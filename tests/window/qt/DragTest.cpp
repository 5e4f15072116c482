#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "RecordingGuard.h"
#include "SheetFixture.h"
#include "host/HostConnection.h"
#include "host/memory/MemoryHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/qt/SkinWindow.h"

namespace {

using window::LeftButton;
using window::RightButton;

// A window that keeps Left and Top exactly as set, so the drag arithmetic shows
// without the rounding to whole pixels of a real window.
class ExactWindow : public window::FormWindow {
public:
    float left() const override { return m_left; }
    float top() const override { return m_top; }
    void setLeft(float twips) override { m_left = twips; }
    void setTop(float twips) override { m_top = twips; }
    void showMessage(const std::string&) override {}

private:
    float m_left = 0;
    float m_top = 0;
};

struct Step {
    int buttons;
    float x, y;
};

struct DragCase {
    const char* situation;
    float top;  // twips at the press; Left starts at 1500
    int pressed;
    std::vector<Step> moves;
    float leftAfter, topAfter, anchorX, anchorY;

    friend void PrintTo(const DragCase& c, std::ostream* os) { *os << c.situation; }
};

class Drag : public testing::TestWithParam<DragCase>, protected testing_support::RecordingGuard {
protected:
    Drag() {
        host::MemoryDocument& doc = m_host.addDocument(1000, 700);
        host::MemorySpread& spread = doc.addSpread();
        spread.addPage();
        m_host.showWindow(spread);
        m_host.registerIn(m_registry);
        m_guard.run([this] { m_form.formLoad(); });
    }

    host::MemoryHost m_host;
    host::HostConnection m_registry;
    window::qt::SkinWindow m_skin;  // only its controls
    ExactWindow m_window;
    window::form::Form1 m_form{m_registry, m_skin.controls(), m_window};
};

TEST_P(Drag, MovesTenTwipsPerWindowUnitOnlyForTheLeftButtonAndBothAxes) {
    const DragCase& c = GetParam();
    m_window.setLeft(1500);
    m_window.setTop(c.top);
    m_guard.run([&] { m_form.formMouseDown(c.pressed, 10, 300); });
    for (const Step& step : c.moves) {
        m_guard.run([&] { m_form.formMouseMove(step.buttons, step.x, step.y); });
    }
    ASSERT_TRUE(m_ends.empty()) << (m_reports.empty() ? "" : m_reports.front());
    EXPECT_EQ(m_window.left(), 1500.0f + c.leftAfter);
    EXPECT_EQ(m_window.top(), c.top + c.topAfter);
    EXPECT_EQ(m_form.toolState().dragX, c.anchorX);
    EXPECT_EQ(m_form.toolState().dragY, c.anchorY);
}

// Pressed at 10, 300; leftAfter and topAfter are the window's movement in twips.
INSTANTIATE_TEST_SUITE_P(
    Steps, Drag,
    testing::Values(
        DragCase{"ThreeRightThreeDown", 3000, LeftButton, {{1, 13, 303}}, 30, 30, 13, 303},
        DragCase{"ExactlyHorizontal", 3000, LeftButton, {{1, 20, 300}}, 0, 0, 10, 300},
        DragCase{"ExactlyVertical", 3000, LeftButton, {{1, 10, 320}}, 0, 0, 10, 300},
        DragCase{"HorizontalThenBothJumpsTheWholeWay",
                 3000,
                 LeftButton,
                 {{1, 15, 300}, {1, 17, 304}},
                 70,
                 40,
                 17,
                 304},
        DragCase{"SecondStepFromTheNewAnchor",
                 3000,
                 LeftButton,
                 {{1, 13, 303}, {1, 14, 301}},
                 40,
                 10,
                 14,
                 301},
        DragCase{"RightButton", 3000, RightButton, {{2, 13, 303}}, 0, 0, 0, 0},
        DragCase{"LeftAndRightTogether", 3000, LeftButton, {{3, 13, 303}}, 0, 0, 10, 300},
        DragCase{"FarBelowTheShortRange",
                 45000,
                 LeftButton,
                 {{1, 13, 303}, {1, 16, 306}},
                 60,
                 60,
                 16,
                 306},
        DragCase{"FarAboveTheShortRange",
                 -45000,
                 LeftButton,
                 {{1, 13, 303}, {1, 16, 306}},
                 60,
                 60,
                 16,
                 306},
        DragCase{
            "AtTheRangesEnd", 32767, LeftButton, {{1, 13, 303}, {1, 16, 306}}, 60, 60, 16, 306},
        DragCase{"FromBeyondTheRangeBackIntoIt",
                 32790,
                 LeftButton,
                 {{1, 13, 297}, {1, 16, 294}},
                 60,
                 -60,
                 16,
                 294}),
    [](const auto& row) { return std::string(row.param.situation); });

// The same through the real window: Qt's button state, and Left and Top in
// twips of 15 to the pixel.
class WindowDrag : public testing_support::SheetFixture {
protected:
    void drag(QPoint to) {
        QTest::mousePress(m_skin.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          testing_support::kBackground);
        move(to);
        QTest::mouseRelease(m_skin.windowHandle(), Qt::LeftButton, Qt::NoModifier, to);
    }
};

TEST_F(WindowDrag, ThreeRightAndThreeDownMovesTheWindowThirtyTwipsEachWay) {
    load();
    m_skin.move(100, 200);
    drag(testing_support::kBackground + QPoint(3, 3));
    ASSERT_TRUE(m_ends.empty()) << firstReport();
    EXPECT_EQ(m_skin.pos(), QPoint(102, 202));
    EXPECT_EQ(m_skin.left(), 1530.0f);
    EXPECT_EQ(m_skin.top(), 3030.0f);
    EXPECT_EQ(tool().dragX, 13.0f);
    EXPECT_EQ(tool().dragY, 303.0f);
}

TEST_F(WindowDrag, AWindowFarDownATallScreenKeepsDragging) {
    load();
    m_skin.move(100, 3000);  // 45000 twips
    drag(testing_support::kBackground + QPoint(3, 3));
    drag(testing_support::kBackground + QPoint(-6, -6));
    ASSERT_TRUE(m_ends.empty()) << firstReport();
    EXPECT_EQ(m_skin.pos(), QPoint(98, 2998));
}

}  // namespace
