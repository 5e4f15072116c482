#pragma once

// Decodes the embedded PNG renderings with GDI+ and scales them once, with
// high-quality bicubic filtering, to the size they are drawn at.

#include <cstddef>

#include "window/win32/Bitmap.h"

namespace window::win32 {

// GDI+ is usable while one of these lives; the window holds one.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    unsigned long long m_token = 0;
};

// The PNG in `data` as a width x height premultiplied bitmap, stretched when
// its own size differs. Throws ToolkitError for data that does not decode.
Bitmap decodePng(const void* data, std::size_t size, int width, int height);

}  // namespace window::win32
