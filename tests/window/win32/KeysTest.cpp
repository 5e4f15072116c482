#include <gtest/gtest.h>

#include "SkinFixture.h"

namespace {

using Events = std::vector<std::string>;

class Keys : public testing::Test, protected testing_support::SkinFixture {
protected:
    void SetUp() override { m_skin.show(); }
    // A key as the system reports it: `alt` held, `repeat` for auto-repeat.
    void key(UINT message, WPARAM code, bool alt = false, bool repeat = false) {
        LPARAM flags = 1;
        if (alt) {
            flags |= LPARAM(1) << 29;
        }
        if (repeat) {
            flags |= LPARAM(1) << 30;
        }
        SendMessageW(m_skin.handle(), message, code, flags);
    }
};

TEST_F(Keys, EscapeAndAltF4AreForgetOnceEach) {
    key(WM_KEYDOWN, VK_ESCAPE);
    key(WM_KEYDOWN, VK_ESCAPE, false, true);  // held down: repeats do nothing
    key(WM_SYSKEYDOWN, VK_F4, true);
    key(WM_SYSKEYDOWN, VK_F4, true, true);
    EXPECT_EQ(m_handlers.events, (Events{"bForget.click", "bForget.click"}));
}

TEST_F(Keys, EnterAndOtherKeysDoNothing) {
    key(WM_KEYDOWN, VK_RETURN);
    key(WM_KEYDOWN, VK_SPACE);
    key(WM_KEYDOWN, VK_F4);  // without Alt
    key(WM_SYSKEYDOWN, 'R', true);
    EXPECT_TRUE(m_handlers.events.empty());
    EXPECT_TRUE(IsWindow(m_skin.handle()));
}

// The system's close (the taskbar's, or Alt+F4 handed on by the system) is
// Forget too, and leaves the window to the tool to close.
TEST_F(Keys, TheSystemsCloseIsForget) {
    SendMessageW(m_skin.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(m_handlers.events, (Events{"bForget.click"}));
    EXPECT_TRUE(IsWindow(m_skin.handle()));
}

}  // namespace
