#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SkinFixture.h"
#include "window/win32/Pictures.h"
#include "window/win32/Text.h"

namespace {

class SkinWindowTest : public testing::Test, protected testing_support::SkinFixture {
protected:
    // The window as it paints itself and its controls, read back from a bitmap.
    window::win32::Bitmap rendered() {
        window::win32::Bitmap image(820, 558);
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, image.handle());
        SendMessageW(m_skin.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        for (HWND child = GetWindow(m_skin.handle(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) {
                continue;
            }
            RECT box;
            GetWindowRect(child, &box);
            MapWindowPoints(nullptr, m_skin.handle(), reinterpret_cast<POINT*>(&box), 2);
            SetViewportOrgEx(dc, box.left, box.top, nullptr);
            SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
            SetViewportOrgEx(dc, 0, 0, nullptr);
        }
        GdiFlush();
        SelectObject(dc, previous);
        DeleteDC(dc);
        return image;
    }
    static std::uint32_t rgb(const window::win32::Bitmap& image, int x, int y) {
        return image.pixel(x, y) & 0xffffffu;
    }
};

TEST_F(SkinWindowTest, IsABorderlessFixedWindowHiddenUntilShown) {
    HWND hwnd = m_skin.handle();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 820);
    EXPECT_EQ(client.bottom, 558);
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    EXPECT_EQ(window::win32::narrow(title), "Quarvel");
    // The taskbar's and Alt+Tab's icons.
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    m_skin.show();
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(SkinWindowTest, ControlsStartAtTheirDesignedPlacesWithTheirPictures) {
    auto& ui = m_skin.controls();
    const struct {
        const char* name;
        window::PictureControl& control;
        window::PictureControl& source;
        RECT place;
    } pictures[] = {
        {"Image3", ui.Image3, ui.tArrUp90, {384, 184, 33, 116}},
        {"Image4", ui.Image4, ui.tArrDwn0, {344, 456, 116, 32}},
        {"bReflect", ui.bReflect, ui.tReflectUp, {24, 496, 116, 32}},
        {"bDuplicate", ui.bDuplicate, ui.tDuplicateUp, {152, 496, 116, 32}},
        {"bRefresh", ui.bRefresh, ui.tRefreshUp, {424, 496, 116, 32}},
        {"bForget", ui.bForget, ui.tForgetUp, {672, 496, 116, 32}},
    };
    for (const auto& picture : pictures) {
        EXPECT_EQ(picture.control.picture(), picture.source.picture()) << picture.name;
        RECT box;
        HWND child = m_skin.pictureWindow(picture.name).handle();
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, m_skin.handle(), reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ(box.left, picture.place.left) << picture.name;
        EXPECT_EQ(box.top, picture.place.top) << picture.name;
        EXPECT_EQ(box.right - box.left, picture.place.right) << picture.name;
        EXPECT_EQ(box.bottom - box.top, picture.place.bottom) << picture.name;
    }
    EXPECT_EQ(ui.Shape1.left(), 24.0f);
    EXPECT_EQ(ui.Shape2.width(), 353.0f);
    EXPECT_EQ(ui.Text3[0].text(), "9999");
    EXPECT_EQ(ui.Text4[0].text(), "Text1");
    EXPECT_EQ(ui.Image1[0].picture(), nullptr);
    EXPECT_FALSE(ui.tReflectDown.isVisible());
}

TEST_F(SkinWindowTest, LeftAndTopAreTwipsAtFifteenAPixel) {
    const struct {
        float twips;
        float shown;
    } cases[] = {{1500, 1500}, {157, 150}, {7.5f, 0}, {22.5f, 30}, {-300, -300}, {0, 0}};
    for (const auto& c : cases) {
        m_skin.setLeft(c.twips);
        m_skin.setTop(c.twips + 150);
        EXPECT_EQ(m_skin.left(), c.shown) << c.twips;
        EXPECT_EQ(m_skin.top(), c.shown + 150) << c.twips;
    }
    RECT frame;
    GetWindowRect(m_skin.handle(), &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 10);
}

TEST_F(SkinWindowTest, PaintsSkinOutlinesMarkersAndButtons) {
    auto& ui = m_skin.controls();
    auto image = rendered();
    EXPECT_EQ(rgb(image, 300, 460), 0x709dbcu);  // the panel
    EXPECT_EQ(rgb(image, 24, 120), 0x000000u);   // Shape1's left line
    EXPECT_EQ(rgb(image, 784, 120), 0x000000u);  // Shape2's right line
    EXPECT_EQ(rgb(image, 178, 225), 0xffffffu);  // Text3(0)'s box
    EXPECT_NE(rgb(image, 80, 512), 0x709dbcu);   // the Reflect face

    ui.Shape1.setVisible(false);
    ui.Text3[0].setVisible(false);
    ui.bReflect.setVisible(false);
    image = rendered();
    EXPECT_EQ(rgb(image, 24, 120), 0x709dbcu);
    EXPECT_EQ(rgb(image, 178, 225), 0x709dbcu);
    EXPECT_EQ(rgb(image, 80, 512), 0x709dbcu);
}

TEST_F(SkinWindowTest, AFaceSwapShowsTheOtherPicture) {
    auto& ui = m_skin.controls();
    const auto up = rendered();
    ui.bReflect.setPicture(ui.tReflectDown.picture());
    const auto down = rendered();
    int changed = 0;
    for (int y = 496; y < 528; ++y) {
        for (int x = 24; x < 140; ++x) {
            changed += rgb(up, x, y) != rgb(down, x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 116 * 32 / 3);
    EXPECT_EQ(ui.bReflect.picture(), ui.tReflectDown.picture());
}

TEST_F(SkinWindowTest, APictureKeepsItsAlphaOverWhatLiesBehindIt) {
    auto& ui = m_skin.controls();
    // A see-through page icon stretched over the Reflect button, with a
    // number box under it: both the skin and the box show through.
    ui.bReflect.setPicture(ui.page0.picture());
    ui.Text3[0].setLeft(70);
    ui.Text3[0].setTop(505);
    const auto image = rendered();
    EXPECT_EQ(rgb(image, 30, 512), 0x709dbcu);  // skin inside the page outline
    EXPECT_EQ(rgb(image, 70, 505), 0xffffffu);  // the number box behind the picture
    EXPECT_EQ(rgb(image, 94, 516), 0xffffffu);
    EXPECT_EQ(rgb(image, 82, 496), 0x000000u);  // the icon's head edge on top
}

// The box blocks until dismissed, so a second thread reads it and presses OK.
struct BoxSeen {
    std::string caption, text, buttons;
    bool icon = false, ownerEnabled = true;
};

BoxSeen inspectAndDismiss(HWND owner) {
    BoxSeen seen;
    HWND box = nullptr;
    for (int tries = 0; tries < 200 && !box; ++tries) {
        box = FindWindowW(L"#32770", window::win32::widen("Quarvel 0-3").c_str());
        Sleep(25);
    }
    if (!box) {
        return seen;
    }
    seen.caption = "Quarvel 0-3";
    seen.ownerEnabled = owner && IsWindowEnabled(owner);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[64] = {}, text[256] = {};
        GetClassNameW(child, kind, 64);
        GetWindowTextW(child, text, 256);
        const std::string name = window::win32::narrow(kind);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (!(style & WS_VISIBLE)) {
            continue;
        }
        if (name == "Button") {
            seen.buttons += "[" + window::win32::narrow(text) + "]";
        } else if (name == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            // An empty icon control shows nothing.
            seen.icon = seen.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else if (name == "Static" && GetWindowTextLengthW(child) > 0) {
            seen.text = window::win32::narrow(text);
        }
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

TEST_F(SkinWindowTest, TheMessageBoxHasTheTextOneOkAndTheApplicationTitle) {
    m_skin.show();
    BoxSeen seen;
    std::thread inspector([&] { seen = inspectAndDismiss(m_skin.handle()); });
    m_skin.showMessage("Please open a publication and try again.");
    inspector.join();
    EXPECT_EQ(seen.caption, "Quarvel 0-3");
    EXPECT_EQ(seen.text, "Please open a publication and try again.");
    EXPECT_EQ(seen.buttons, "[OK]");
    EXPECT_FALSE(seen.icon);
    EXPECT_FALSE(seen.ownerEnabled) << "application-modal: the window waits";
    EXPECT_TRUE(IsWindowEnabled(m_skin.handle()));
}

}  // namespace
