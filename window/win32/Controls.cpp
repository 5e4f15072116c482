#include "window/win32/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "window/win32/BufferedPaint.h"
#include "window/win32/Pictures.h"
#include "window/win32/Text.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

namespace {
constexpr const wchar_t* kPictureClass = L"QuarvelPicture";
}  // namespace

int buttonsHeld(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
           ((keys & MK_MBUTTON) ? 4 : 0);
}

void PictureWindow::registerClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kPictureClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = &PictureWindow::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kPictureClass;
    if (!RegisterClassExW(&windowClass)) {
        throwLastError("Cannot register the picture control");
    }
}

PictureWindow::PictureWindow(ControlHost& host, std::string name)
    : m_host(host), m_name(std::move(name)) {
    registerClass();
    m_hwnd = CreateWindowExW(0, kPictureClass, widen(m_name).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, host.handle(),
                             nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd) {
        throwLastError("Cannot make the picture control " + m_name);
    }
}

PictureWindow::~PictureWindow() {
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

void PictureWindow::setPicture(Picture picture) {
    m_picture = std::move(picture);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void PictureWindow::setVisible(bool visible) {
    m_visible = visible;
    ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void PictureWindow::changed(const ControlGeometry&) {
    place();
}

void PictureWindow::place() {
    const RECT box = storedGeometry().pixels(m_host.scale());
    SetWindowPos(m_hwnd, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PictureWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PictureWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (!self->m_hwnd) {
        self->m_hwnd = hwnd;  // messages sent while the control is being made
    }
    LRESULT result = 0;
    bool handled = false;
    self->m_host.guarded([&] {
        result = self->onMessage(message, wParam, lParam);
        handled = true;
    });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return handled ? result : 0;
}

LRESULT PictureWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            render(BeginPaint(m_hwnd, &paint));
            EndPaint(m_hwnd, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            render(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_MOUSEMOVE:
            // While a button is held the control has the pointer (as with the
            // window's own presses), so its moves stay its own.
            if (m_host.isFreshMove(m_hwnd, lParam, wParam) && onMove) {
                onMove();
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SetCapture(m_hwnd);
            if (message == WM_LBUTTONDOWN) {
                m_leftPressed = true;
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            buttonUp(message, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != m_hwnd) {
                m_leftPressed = false;
            }
            return 0;
        default:
            return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void PictureWindow::buttonUp(UINT message, WPARAM keys, LPARAM at) {
    // A click is a left press and release on the same control.
    RECT client;
    GetClientRect(m_hwnd, &client);
    const POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    const bool click = message == WM_LBUTTONUP && m_leftPressed && PtInRect(&client, point);
    if (message == WM_LBUTTONUP) {
        m_leftPressed = false;
    }
    if (buttonsHeld(keys) == 0 && GetCapture() == m_hwnd) {
        ReleaseCapture();
    }
    if (click && onClick) {
        onClick();
    }
}

void PictureWindow::render(HDC target) {
    const RECT box = storedGeometry().pixels(m_host.scale());
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width > 0 && height > 0) {
        // In window coordinates: the layers behind, then the picture over them.
        BufferedPaint buffer(target, RECT{0, 0, width, height});
        SetViewportOrgEx(buffer.dc(), -box.left, -box.top, nullptr);
        m_host.paintLayers(buffer.dc(), box);
        SetViewportOrgEx(buffer.dc(), 0, 0, nullptr);
        if (m_picture) {
            blendBitmap(buffer.dc(), 0, 0, m_picture->at(width, height));
        }
    }
}

void OutlineControl::setVisible(bool visible) {
    if (m_visible != visible) {
        m_visible = visible;
        m_host.invalidate(storedGeometry().pixels(m_host.scale()));
    }
}

void OutlineControl::changed(const ControlGeometry& before) {
    RECT both;
    const RECT was = before.pixels(m_host.scale());
    const RECT now = storedGeometry().pixels(m_host.scale());
    UnionRect(&both, &was, &now);
    m_host.invalidate(both);
}

void OutlineControl::paint(HDC dc, const RECT& dirty) const {
    const RECT box = storedGeometry().pixels(m_host.scale());
    RECT common;
    if (!m_visible || box.right <= box.left || box.bottom <= box.top ||
        !IntersectRect(&common, &box, &dirty)) {
        return;
    }
    // A line of one window unit, in whole pixels: as wide as the scale rounds to.
    const int line = std::max(1, static_cast<int>(std::lround(m_host.scale())));
    RECT frame = box;
    for (int i = 0; i < line && frame.right > frame.left && frame.bottom > frame.top; ++i) {
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&frame, -1, -1);
    }
}

}  // namespace window::win32
