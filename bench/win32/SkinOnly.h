#pragma once

// The floor for start-up: a bare borderless Win32 window that decodes the
// skin from the same resources and paints it, and nothing else.

#include <windows.h>

#include "window/Toolkit.h"
#include "window/win32/Decoder.h"

namespace bench {

class SkinOnly {
public:
    SkinOnly();
    ~SkinOnly();
    SkinOnly(const SkinOnly&) = delete;
    SkinOnly& operator=(const SkinOnly&) = delete;
    HWND handle() const { return m_hwnd; }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    window::win32::GdiplusSession m_gdiplus;
    window::Picture m_skin;
    HWND m_hwnd = nullptr;
};

}  // namespace bench
