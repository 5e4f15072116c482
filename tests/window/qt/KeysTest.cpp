#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "SheetFixture.h"
#include "host/memory/SheetText.h"

namespace {

struct KeyCase {
    const char* situation;
    std::function<void(QWidget&)> press;
    bool forgets;

    friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.situation; }
};

class Keys : public testing_support::SheetFixture, public testing::WithParamInterface<KeyCase> {};

// Esc, Alt+F4 and the window manager's close end the tool as Forget does,
// with no host call; Enter and the rest leave it running.
TEST_P(Keys, EndAsForgetLeavingTheHostUntouchedOrDoNothing) {
    drawSixPages();
    load();
    const std::string before = host::memory::dumpDocuments(m_host);
    GetParam().press(m_skin);
    if (GetParam().forgets) {
        EXPECT_EQ(m_ends, std::vector<int>{0});
    } else {
        EXPECT_TRUE(m_ends.empty());
        EXPECT_TRUE(m_skin.isVisible());
    }
    EXPECT_TRUE(m_reports.empty()) << firstReport();
    EXPECT_TRUE(m_host.calls().empty());
    EXPECT_EQ(host::memory::dumpDocuments(m_host), before);
}

void closeByWindowManager(QWidget& window) {
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted()) << "the window closed itself instead of Forget closing it";
}

INSTANTIATE_TEST_SUITE_P(
    Presses, Keys,
    testing::Values(
        KeyCase{"Escape", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); }, true},
        KeyCase{"AltF4", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_F4, Qt::AltModifier); },
                true},
        KeyCase{"WindowManagersClose", closeByWindowManager, true},
        KeyCase{"Enter", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); }, false},
        KeyCase{"KeypadEnter",
                [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Enter, Qt::KeypadModifier); }, false},
        KeyCase{"F4WithoutAlt", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_F4); }, false},
        KeyCase{"Space", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Space); }, false}),
    [](const auto& row) { return std::string(row.param.situation); });

}  // namespace
