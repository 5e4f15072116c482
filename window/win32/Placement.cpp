#include "window/win32/Placement.h"

#include <algorithm>
#include <cwchar>

namespace window::win32 {

namespace {

// The desktop, the taskbar and the Start menu are foreground windows too, but
// not where the user works: a tool started from them opens by the pointer.
bool isShellWindow(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    for (const wchar_t* shell :
         {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd",
          L"Windows.UI.Core.CoreWindow", L"#32769"}) {
        if (std::wcscmp(name, shell) == 0) {
            return true;
        }
    }
    return false;
}

// The foreground window's top-level owner when it is another program's
// visible, not minimised main window.
HWND workingWindow(HWND own) {
    HWND window = GetForegroundWindow();
    if (!window) {
        return nullptr;
    }
    window = GetAncestor(window, GA_ROOTOWNER);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!window || window == own || process == GetCurrentProcessId() || !IsWindowVisible(window) ||
        IsIconic(window) || isShellWindow(window)) {
        return nullptr;
    }
    return window;
}

}  // namespace

RECT centredOn(const RECT& work, int width, int height) {
    const auto place = [](LONG low, LONG high, int extent) {
        return low + std::max(0L, (high - low - extent) / 2);
    };
    const LONG left = place(work.left, work.right, width);
    const LONG top = place(work.top, work.bottom, height);
    return {left, top, left + width, top + height};
}

HMONITOR openingMonitor(HWND own) {
    if (HWND working = workingWindow(own)) {
        if (HMONITOR monitor = MonitorFromWindow(working, MONITOR_DEFAULTTONULL)) {
            return monitor;
        }
    }
    POINT pointer{};
    if (!GetCursorPos(&pointer)) {
        return MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    }
    return MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
}

RECT workAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        return info.rcWork;
    }
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace window::win32
