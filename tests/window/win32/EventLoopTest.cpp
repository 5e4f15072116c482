#include <gtest/gtest.h>

#include "SkinFixture.h"
#include "window/Toolkit.h"

namespace {

using Events = std::vector<std::string>;

class EventLoopTest : public testing::Test, protected testing_support::SkinFixture {};

// Ends the tool from a click on Forget, as the form does.
struct Ending : testing_support::RecordingHandlers {
    explicit Ending(window::FormWindow& window) : m_window(window) {}
    void bForgetClick() override {
        events.push_back("bForget.click");
        m_window.end(0);
    }
    window::FormWindow& m_window;
};

TEST_F(EventLoopTest, EndHidesTheWindowAndEndsTheLoopWithItsStatus) {
    Ending ending(m_skin);
    m_skin.connectHandlers(ending, m_guard);
    testing_support::postClick(m_skin.pictureWindow("bForget").handle());
    testing_support::postClick(m_skin.pictureWindow("bDuplicate").handle());  // never handled
    EXPECT_EQ(m_loop.run(), 0);
    EXPECT_EQ(ending.events, (Events{"bForget.click"}));
    EXPECT_EQ(m_ends, (std::vector<int>{0}));
    EXPECT_TRUE(m_reports.empty());
    EXPECT_FALSE(IsWindowVisible(m_skin.handle()));
}

TEST_F(EventLoopTest, AFailingHandlerIsReportedInsideTheWindowAndEndsTheLoopWithOne) {
    struct Failing : testing_support::RecordingHandlers {
        void image3Click() override { throw window::ToolkitError("There is no control Image2(9)"); }
    } failing;
    m_skin.connectHandlers(failing, m_guard);
    testing_support::postClick(m_skin.pictureWindow("Image3").handle());
    testing_support::postClick(m_skin.pictureWindow("bReflect").handle());  // never handled
    EXPECT_EQ(m_loop.run(), 1);  // the exception stopped inside the window procedure
    EXPECT_EQ(m_reports, (Events{"There is no control Image2(9)"}));
    EXPECT_EQ(m_ends, (std::vector<int>{1}));
    EXPECT_TRUE(failing.events.empty());
    EXPECT_FALSE(IsWindowVisible(m_skin.handle()));
}

TEST_F(EventLoopTest, LeavingBeforeTheLoopReturnsAtOnceWithoutShowingTheWindow) {
    m_guard.run([this] { m_skin.end(3); });  // as start-up ends
    EXPECT_EQ(m_loop.run(), 3);
    EXPECT_FALSE(IsWindowVisible(m_skin.handle()));
    // No quit message was left behind for a later loop (a message box's) to trip on.
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The system's close (Alt+F4, the taskbar's Close) runs Forget's handler,
// which ends the tool; the window is left for the tool to close.
TEST_F(EventLoopTest, ClosedByTheSystemForgetRuns) {
    PostMessageW(m_skin.handle(), WM_CLOSE, 0, 0);
    PostQuitMessage(0);  // after the close: these handlers only record
    EXPECT_EQ(m_loop.run(), 0);
    EXPECT_EQ(m_handlers.events, std::vector<std::string>{"bForget.click"});
    EXPECT_TRUE(IsWindow(m_skin.handle()));
}

}  // namespace
