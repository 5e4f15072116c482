#include "bench/win32/SkinOnly.h"

#include "window/Design.h"
#include "window/win32/Pictures.h"
#include "window/win32/SkinWindow.h"
#include "window/win32/Win32Error.h"

namespace bench {

SkinOnly::SkinOnly() : m_skin(window::win32::makePicture("skin")) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &SkinOnly::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuarvelBenchSkin";
    RegisterClassExW(&windowClass);
    m_hwnd = CreateWindowExW(0, windowClass.lpszClassName, L"Quarvel", WS_POPUP, 200, 100,
                             window::kClientWidth, window::kClientHeight, nullptr, nullptr,
                             windowClass.hInstance, this);
    if (!m_hwnd) {
        window::win32::throwLastError("Cannot make the bare window");
    }
}

SkinOnly::~SkinOnly() {
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK SkinOnly::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SkinOnly*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_PAINT && self) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        const auto& skin = self->m_skin->at(820, 559);
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, skin.handle());
        BitBlt(dc, 0, 0, skin.width(), skin.height(), source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace bench
