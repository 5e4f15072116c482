#pragma once

// A 32-bit top-down DIB section with premultiplied alpha (0xAARRGGBB in
// memory order B, G, R, A), ready for AlphaBlend. Owns its GDI handle.

#include <windows.h>

#include <cstdint>

namespace window::win32 {

class Bitmap {
public:
    Bitmap() = default;
    // Transparent black; throws ToolkitError when the system refuses it.
    Bitmap(int width, int height);
    ~Bitmap();
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    bool empty() const { return m_handle == nullptr; }
    HBITMAP handle() const { return m_handle; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    std::uint32_t* row(int y) { return m_pixels + static_cast<std::ptrdiff_t>(y) * m_width; }
    const std::uint32_t* row(int y) const {
        return m_pixels + static_cast<std::ptrdiff_t>(y) * m_width;
    }
    std::uint32_t pixel(int x, int y) const { return row(y)[x]; }

private:
    HBITMAP m_handle = nullptr;
    std::uint32_t* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// Draws `bitmap` at its own size with its alpha onto `target` at x, y.
void blendBitmap(HDC target, int x, int y, const Bitmap& bitmap);

}  // namespace window::win32
