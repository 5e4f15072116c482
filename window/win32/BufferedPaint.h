#pragma once

// Paints through an off-screen bitmap that is copied to the target when the
// painter goes, so a repaint never flickers. Drawing uses the target's
// coordinates: the buffer's viewport maps `area` onto the bitmap.

#include <windows.h>

namespace window::win32 {

class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& area)
        : m_target(target),
          m_area(area),
          m_dc(CreateCompatibleDC(target)),
          m_bitmap(CreateCompatibleBitmap(target, width(), height())),
          m_previous(SelectObject(m_dc, m_bitmap)) {
        SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
    }
    ~BufferedPaint() {
        SetViewportOrgEx(m_dc, 0, 0, nullptr);
        BitBlt(m_target, m_area.left, m_area.top, width(), height(), m_dc, 0, 0, SRCCOPY);
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return m_dc; }

private:
    int width() const { return m_area.right - m_area.left; }
    int height() const { return m_area.bottom - m_area.top; }

    HDC m_target;
    RECT m_area;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

}  // namespace window::win32
