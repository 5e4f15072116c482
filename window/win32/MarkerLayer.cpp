#include "window/win32/MarkerLayer.h"

#include <cmath>

#include "window/Design.h"
#include "window/win32/Pictures.h"
#include "window/win32/Text.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

namespace {

// The design's font (6.75 points: 9 pixels at 96 dots per inch) at the
// window's scale, so that numbers are drawn sharp at the monitor's own size.
HFONT makeNumberFont(double scale) {
    const int pixels = static_cast<int>(std::lround(kNumberPointSize * 96.0 / 72.0 * scale));
    HFONT font = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, widen(kNumberFont).c_str());
    if (!font) {
        throwLastError("Cannot make the font of the page numbers");
    }
    return font;
}

bool meets(const RECT& box, const RECT& dirty) {
    RECT common;
    return IntersectRect(&common, &box, &dirty) != FALSE;
}

}  // namespace

MarkerLayer::MarkerLayer(std::function<void(const RECT&)> changed)
    : MarkerRecords<ControlGeometry>(this),
      m_changed(std::move(changed)),
      m_font(makeNumberFont(m_scale)) {}

MarkerLayer::~MarkerLayer() {
    DeleteObject(m_font);
}

void MarkerLayer::setScale(double scale) {
    HFONT font = makeNumberFont(scale);
    DeleteObject(m_font);
    m_font = font;
    m_scale = scale;
}

bool MarkerLayer::hitTest(double x, double y) const {
    return anyShown([x, y](const ControlGeometry& geometry) { return geometry.contains(x, y); });
}

void MarkerLayer::changed(const RECT& before, const RECT& after) {
    RECT both;
    UnionRect(&both, &before, &after);
    if (!IsRectEmpty(&both)) {
        m_changed(both);
    }
}

void MarkerLayer::paint(HDC dc, const RECT& dirty) const {
    paintIcons(dc, m_frontIcons, dirty);
    paintIcons(dc, m_backIcons, dirty);
    paintNumbers(dc, m_frontNumbers, dirty);
    paintNumbers(dc, m_backNumbers, dirty);
}

void MarkerLayer::paintIcons(HDC dc, const IconArray& icons, const RECT& dirty) const {
    for (const auto& icon : icons.elements()) {
        if (!icon || !icon->isVisible() || !icon->picture()) {
            continue;
        }
        const RECT box = icon->storedGeometry().pixels(m_scale);
        if (box.right <= box.left || box.bottom <= box.top || !meets(box, dirty)) {
            continue;
        }
        blendBitmap(dc, box.left, box.top,
                    icon->picture()->at(box.right - box.left, box.bottom - box.top));
    }
}

void MarkerLayer::paintNumbers(HDC dc, const NumberArray& numbers, const RECT& dirty) const {
    const HGDIOBJ previousFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    for (const auto& number : numbers.elements()) {
        if (!number || !number->isVisible()) {
            continue;
        }
        RECT box = number->storedGeometry().pixels(m_scale);
        if (box.right <= box.left || box.bottom <= box.top || !meets(box, dirty)) {
            continue;
        }
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const std::wstring text = widen(number->text());
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, previousFont);
}

}  // namespace window::win32
