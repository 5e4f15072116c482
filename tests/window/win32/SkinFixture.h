#pragma once

// A Win32 tool window with recording handlers, and a pointer that delivers
// mouse messages the way the system routes them: to the window holding the
// capture, else to the visible control under the pointer, else the window.

#include <windows.h>

#include "window/form/EventGuard.h"
#include "window/qt/RecordingHandlers.h"
#include "window/win32/EventLoop.h"
#include "window/win32/SkinWindow.h"

namespace testing_support {

class Pointer {
public:
    explicit Pointer(window::win32::SkinWindow& skin) : m_skin(skin) {}

    void move(int x, int y) { send(WM_MOUSEMOVE, x, y); }
    void press(int button, int x, int y) {
        m_keys |= key(button);
        send(button == 1 ? WM_LBUTTONDOWN : button == 2 ? WM_RBUTTONDOWN : WM_MBUTTONDOWN, x, y);
    }
    void release(int button, int x, int y) {
        m_keys &= ~key(button);
        send(button == 1 ? WM_LBUTTONUP : button == 2 ? WM_RBUTTONUP : WM_MBUTTONUP, x, y);
    }

private:
    static WPARAM key(int button) {
        return button == 1 ? MK_LBUTTON : button == 2 ? MK_RBUTTON : MK_MBUTTON;
    }

    // x, y in the tool window's client coordinates.
    void send(UINT message, int x, int y) {
        HWND window = m_skin.handle();
        POINT at{x, y};
        HWND target = GetCapture();
        if (!target) {
            RECT client;
            GetClientRect(window, &client);
            if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
                return;  // off the window: none of its business
            }
            target = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        }
        MapWindowPoints(window, target, &at, 1);
        const auto word = [](LONG value) { return static_cast<DWORD>(static_cast<WORD>(value)); };
        SendMessageW(target, message, m_keys, static_cast<LPARAM>(word(at.x) | word(at.y) << 16));
    }

    window::win32::SkinWindow& m_skin;
    WPARAM m_keys = 0;
};

// Queues a left click in the middle of a control, for a running event loop.
inline void postClick(HWND control) {
    const LPARAM middle = MAKELPARAM(10, 10);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(control, WM_LBUTTONUP, 0, middle);
}

class SkinFixture {
protected:
    SkinFixture() { m_skin.connectHandlers(m_handlers, m_guard); }

    RecordingHandlers m_handlers;
    std::vector<std::string> m_reports;
    std::vector<int> m_ends;
    window::form::EventGuard m_guard{[this](const std::string& text) { m_reports.push_back(text); },
                                     [this](int status) {
                                         m_ends.push_back(status);
                                         m_loop.leave(status);
                                     }};
    window::win32::SkinWindow m_skin;
    window::win32::Win32EventLoop m_loop{m_skin};
    Pointer m_pointer{m_skin};
};

}  // namespace testing_support
