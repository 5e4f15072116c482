// quarvel_inspect: reads the tool's windows from another process of the same
// Wine session, for the end-to-end scripts (xdotool sees X windows, not what
// a Win32 message box says).
//
//   quarvel_inspect box CAPTION [SECONDS] [--press-ok]
//       waits for a message box with that caption and prints, one a line:
//       caption=, text=, buttons= ([OK] for one OK button), icon=yes|no,
//       main=visible|hidden|none (the tool's window); then presses OK if asked.
//       Status 1 when no such box came.
//   quarvel_inspect main
//       prints main=visible|hidden|none and, when there is one, its rect
//       and taskbar=yes|no (a taskbar button of its own).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring widen(const char* text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), size);
    return result;
}

void printMain(bool shell = false) {
    HWND main = FindWindowW(L"QuarvelWindow", L"Quarvel");
    if (!main) {
        std::printf("main=none\n");
        return;
    }
    RECT box;
    GetWindowRect(main, &box);
    std::printf("main=%s\nrect=%ld,%ld,%ld,%ld\n", IsWindowVisible(main) ? "visible" : "hidden",
                box.left, box.top, box.right - box.left, box.bottom - box.top);
    if (!shell) {
        return;
    }
    // What the taskbar and Alt+Tab show it by: an unowned window with a
    // button of its own. (Its icons are the window's tests': under Wine a
    // window's icon does not cross to another process.)
    const bool button = (GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0 &&
                        GetWindow(main, GW_OWNER) == nullptr;
    std::printf("taskbar=%s\n", button ? "yes" : "no");
}

int inspectBox(const char* caption, int seconds, bool pressOk) {
    HWND box = nullptr;
    for (int tries = 0; tries < seconds * 10 && !box; ++tries) {
        box = FindWindowW(L"#32770", widen(caption).c_str());
        if (!box) {
            Sleep(100);
        }
    }
    if (!box) {
        std::printf("no box\n");
        printMain();
        return 1;
    }
    std::string text, buttons;
    bool icon = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[64] = {}, label[1024] = {};
        GetClassNameW(child, kind, 64);
        GetWindowTextW(child, label, 1024);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (!(style & WS_VISIBLE)) {
            continue;
        }
        if (std::wcscmp(kind, L"Button") == 0) {
            buttons += "[" + narrow(label) + "]";
        } else if ((style & SS_TYPEMASK) == SS_ICON) {
            icon = icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else if (std::wcscmp(kind, L"Static") == 0 && label[0]) {
            text = narrow(label);
        }
    }
    std::printf("caption=%s\ntext=%s\nbuttons=%s\nicon=%s\n", caption, text.c_str(),
                buttons.c_str(), icon ? "yes" : "no");
    printMain();
    std::fflush(stdout);
    if (pressOk) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "box") == 0) {
        const int seconds = argc >= 4 && argv[3][0] != '-' ? std::atoi(argv[3]) : 30;
        const bool pressOk = std::strcmp(argv[argc - 1], "--press-ok") == 0;
        return inspectBox(argv[2], seconds, pressOk);
    }
    if (argc == 2 && std::strcmp(argv[1], "main") == 0) {
        printMain(true);
        return 0;
    }
    std::fprintf(stderr, "usage: quarvel_inspect box CAPTION [SECONDS] [--press-ok] | main\n");
    return 2;
}
