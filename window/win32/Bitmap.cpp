#include "window/win32/Bitmap.h"

#include <utility>

#include "window/Toolkit.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

Bitmap::Bitmap(int width, int height) : m_width(width), m_height(height) {
    if (width <= 0 || height <= 0) {
        throw ToolkitError("A picture needs a positive size");
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows run top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_handle || !bits) {
        throwLastError("Cannot make a picture of " + std::to_string(width) + " x " +
                       std::to_string(height) + " pixels");
    }
    m_pixels = static_cast<std::uint32_t*>(bits);  // zeroed by the system
}

Bitmap::~Bitmap() {
    if (m_handle) {
        DeleteObject(m_handle);
    }
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)),
      m_pixels(std::exchange(other.m_pixels, nullptr)),
      m_width(std::exchange(other.m_width, 0)),
      m_height(std::exchange(other.m_height, 0)) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        if (m_handle) {
            DeleteObject(m_handle);
        }
        m_handle = std::exchange(other.m_handle, nullptr);
        m_pixels = std::exchange(other.m_pixels, nullptr);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
    }
    return *this;
}

void blendBitmap(HDC target, int x, int y, const Bitmap& bitmap) {
    if (bitmap.empty()) {
        return;
    }
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, bitmap.handle());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, x, y, bitmap.width(), bitmap.height(), source, 0, 0, bitmap.width(),
               bitmap.height(), blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace window::win32
