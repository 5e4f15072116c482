// quarvel_bench_win32 floor | tool RECTANGLES [LINGER_MS]
// Times start-up inside the process, from its creation: when the window is
// shown and when it and its controls have painted. `floor` is a bare skinned
// window; `tool` is the tool's window over the in-memory host with a sheet of
// RECTANGLES pages, started as the tool starts. Prints one line:
//   loaded_ms=<ms> visible_ms=<ms> painted_ms=<ms> peak_kib=<peak working set>
// (loaded: the window made and, for the tool, its load event run).
// then keeps the window up for LINGER_MS (default 0), so that a script can
// time its appearance on the X server, and ends.

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "bench/Sheet.h"
#include "bench/win32/SkinOnly.h"
#include "host/HostConnection.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/win32/EventLoop.h"
#include "window/win32/SkinWindow.h"

namespace {

double millisecondsSinceStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

unsigned long long peakKib() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize / 1024;
}

int g_lingerMs = 0;

// Keeps the window up, answering messages, for the linger time.
void linger() {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(g_lingerMs);
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

void report(double loaded, double visible, double painted) {
    std::printf("loaded_ms=%.1f visible_ms=%.1f painted_ms=%.1f peak_kib=%llu\n", loaded, visible,
                painted, peakKib());
    std::fflush(stdout);
}

// Shows the window (its paint is queued), then paints it and every control
// as its first paint does, and reports.
void showAndPaint(HWND hwnd, const std::function<void()>& paint) {
    const double loaded = millisecondsSinceStart();
    ShowWindow(hwnd, SW_SHOWNA);
    const double visible = millisecondsSinceStart();
    paint();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    report(loaded, visible, millisecondsSinceStart());
    linger();
}

int runTool(int rectangles) {
    host::MemoryHost memory;
    bench::buildMemorySheet(memory, rectangles);
    host::HostConnection hosts;
    memory.registerIn(hosts);
    window::win32::SkinWindow skin;
    window::win32::Win32EventLoop loop(skin);
    window::form::EventGuard guard(
        [](const std::string& message) { std::fprintf(stderr, "error: %s\n", message.c_str()); },
        [&](int status) { loop.leave(status); });
    window::form::Form1 form(hosts, skin.controls(), skin);
    skin.connectHandlers(form, guard);
    guard.run([&] { form.formLoad(); });
    if (guard.ended()) {
        return 1;
    }
    showAndPaint(skin.handle(), [&] { skin.show(); });
    return 0;
}

int runFloor() {
    bench::SkinOnly window;
    showAndPaint(window.handle(), [&] { UpdateWindow(window.handle()); });
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && std::strcmp(argv[1], "floor") == 0) {
            g_lingerMs = argc > 2 ? std::atoi(argv[2]) : 0;
            return runFloor();
        }
        if (argc >= 3 && std::strcmp(argv[1], "tool") == 0) {
            g_lingerMs = argc > 3 ? std::atoi(argv[3]) : 0;
            return runTool(std::atoi(argv[2]));
        }
        std::fprintf(stderr,
                     "usage: quarvel_bench_win32 floor [LINGER_MS] | tool RECTANGLES "
                     "[LINGER_MS]\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        return 1;
    }
}
