#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/ExpectBounds.h"
#include "host/HostConnection.h"
#include "host/memory/MemoryHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/form/FormDriver.h"
#include "window/headless/HeadlessControls.h"
#include "window/headless/HeadlessEventLoop.h"
#include "window/headless/HeadlessWindow.h"

namespace {

using host::Bounds;
using window::headless::pictureName;

// The tool window on the headless backend over an in-memory 1000 x 700 sheet,
// wired as a launcher wires it: reports and messages are recorded, and the
// guard leaves the event loop.
class HeadlessForm : public testing::Test {
protected:
    HeadlessForm() : m_doc(m_host.addDocument(1000, 700)), m_spread(m_doc.addSpread()) {
        m_page = &m_spread.addPage();
    }

    void drawSheet() {
        m_page->addRectangle("r1", {50, 100, 350, 300}, 0);
        m_page->addItem("TextFrame", "t1", {10, 10, 40, 60});
        m_page->addRectangle("r2", {50, 400, 250, 700}, 90);
        m_page->addLine("l1", {100, 200, 100, 800});
        m_host.showWindow(m_spread);
    }

    int run() {
        m_host.registerIn(m_registry);
        m_driver.load();
        return m_loop.run();
    }

    const host::MemoryItem& copyOf(const std::string& label) const {
        for (const auto& item : m_doc.spreads().back()->items()) {
            if (item->label() == label + "'") {
                return *item;
            }
        }
        throw std::logic_error("the newest spread has no copy of " + label);
    }

    host::MemoryHost m_host;
    host::MemoryDocument& m_doc;
    host::MemorySpread& m_spread;
    host::MemoryPage* m_page;
    host::HostConnection m_registry;
    std::vector<std::string> m_reports;
    std::vector<std::string> m_messages;
    window::headless::HeadlessEventLoop m_loop;
    window::form::EventGuard m_guard{[this](const std::string& text) { m_reports.push_back(text); },
                                     [this](int status) { m_loop.leave(status); }};
    window::headless::HeadlessWindow m_window{
        [this](const std::string& text) { m_messages.push_back(text); }};
    window::form::Form1 m_form{m_registry, m_window.controls(), m_window};
    window::form::FormDriver m_driver{m_form, m_guard};
};

void expectPlaced(const host::MemoryItem& item, const Bounds& box, double angle) {
    SCOPED_TRACE(item.label());
    testing_support::expectBoundsNear(item.bounds(), box, 1e-9);
    EXPECT_NEAR(std::fmod(item.rotation() + 360.0, 360.0), angle, 1e-9);
}

TEST_F(HeadlessForm, ReflectWritesTheBackSideLeftRightAndEnds) {
    drawSheet();
    m_loop.post([this] { m_driver.reflect(); });
    EXPECT_EQ(run(), 0);
    ASSERT_TRUE(m_reports.empty()) << m_reports.front();
    ASSERT_EQ(m_doc.spreads().size(), 2u);
    expectPlaced(copyOf("r1"), {50, 700, 350, 900}, 0);
    expectPlaced(copyOf("r2"), {50, 300, 250, 600}, 270);
    expectPlaced(copyOf("l1"), {100, 200, 100, 800}, 0);
    expectPlaced(copyOf("t1"), {10, 10, 40, 60}, 0);
    // The previews were drawn on the way, as in a window.
    EXPECT_EQ(m_form.toolState().pageCount, 2);
    EXPECT_TRUE(m_window.controls().Image2.exists(1));
}

TEST_F(HeadlessForm, TheVerticalArrowTurnsTheSheetTopBottomBeforeReflect) {
    drawSheet();
    m_loop.post([this] { m_driver.choose(window::form::Flip::TopBottom); });
    m_loop.post([this] { m_driver.reflect(); });
    EXPECT_EQ(run(), 0);
    ASSERT_TRUE(m_reports.empty()) << m_reports.front();
    EXPECT_EQ(pictureName(m_window.controls().Image3.picture()), "tArrDwn90");
    EXPECT_EQ(pictureName(m_window.controls().Image4.picture()), "tArrUp0");
    expectPlaced(copyOf("r1"), {350, 100, 650, 300}, 180);
    expectPlaced(copyOf("r2"), {450, 400, 650, 700}, 90);
    expectPlaced(copyOf("l1"), {600, 200, 600, 800}, 180);
}

TEST_F(HeadlessForm, ForgetEndsWithoutTouchingTheDocument) {
    drawSheet();
    m_loop.post([this] { m_driver.forget(); });
    m_loop.post([this] { m_driver.reflect(); });  // never runs
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(m_doc.spreads().size(), 1u);
    EXPECT_EQ(m_form.toolState().backPages.at(1, state::PageTable::Left), 300.0);
}

TEST_F(HeadlessForm, WithoutADocumentTheMessageIsShownAndTheToolEndsAtLoad) {
    host::MemoryHost empty;
    host::HostConnection connection;
    empty.registerIn(connection);
    window::form::Form1 form(connection, m_window.controls(), m_window);
    window::form::FormDriver driver(form, m_guard);
    m_loop.post([&driver] { driver.reflect(); });
    driver.load();
    EXPECT_EQ(m_loop.run(), 0);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Please open a publication and try again."});
    EXPECT_TRUE(m_guard.ended());
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(HeadlessForm, AFailingHostCallIsReportedAndEndsWithStatusOne) {
    drawSheet();
    m_host.failOn("page1.Duplicate");
    m_loop.post([this] { m_driver.reflect(); });
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(m_doc.spreads().size(), 1u);
}

}  // namespace
