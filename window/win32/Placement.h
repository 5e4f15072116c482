#pragma once

// Where the tool window opens: on the monitor of the window the user was
// working in when the tool started (the host's, when the host started it or
// was in front), else on the pointer's monitor; centred on that monitor's
// work area and never partly off it. Rectangles are screen pixels.

#include <windows.h>

namespace window::win32 {

// A width x height window centred on `work`; when it is larger than `work`
// either way, its top or left edge lies on `work`'s, so its top-left part,
// with the controls that drag it, stays on screen.
RECT centredOn(const RECT& work, int width, int height);

// The monitor to open on. `own` is the tool's own window, never taken as the
// host's.
HMONITOR openingMonitor(HWND own);

// The work area of `monitor` (the whole primary screen when it cannot be read).
RECT workAreaOf(HMONITOR monitor);

}  // namespace window::win32
