#include "window/win32/MarkerLayer.h"

#include <cmath>

#include "window/Design.h"
#include "window/win32/Pictures.h"
#include "window/win32/Text.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

template <class Element, class Interface>
MarkerArray<Element, Interface>::MarkerArray(MarkerLayer& layer, const char* name)
    : m_layer(layer), m_name(name) {
    m_elements.push_back(std::make_unique<Element>(layer));
}

template <class Element, class Interface>
void MarkerArray<Element, Interface>::fail(const char* what, std::int16_t index) const {
    throw ToolkitError(std::string(what) + " " + m_name + "(" + std::to_string(index) + ")");
}

template <class Element, class Interface>
bool MarkerArray<Element, Interface>::exists(std::int16_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_elements.size() &&
           m_elements[static_cast<std::size_t>(index)] != nullptr;
}

template <class Element, class Interface>
Interface& MarkerArray<Element, Interface>::operator[](std::int16_t index) {
    if (!exists(index)) {
        fail("There is no control", index);
    }
    return *m_elements[static_cast<std::size_t>(index)];
}

template <class Element, class Interface>
void MarkerArray<Element, Interface>::create(std::int16_t index) {
    if (index < 1) {
        fail("Cannot create designed control", index);
    }
    if (exists(index)) {
        fail("Control already exists:", index);
    }
    const auto slot = static_cast<std::size_t>(index);
    if (slot >= m_elements.size()) {
        m_elements.resize(slot + 1);
    }
    // A copy of element 0 in everything but visibility; hidden, so nothing to repaint.
    auto element = std::make_unique<Element>(element0());
    element->setVisible(false);
    m_elements[slot] = std::move(element);
}

template <class Element, class Interface>
void MarkerArray<Element, Interface>::remove(std::int16_t index) {
    if (index < 1) {
        fail("Cannot remove designed control", index);
    }
    if (!exists(index)) {
        fail("There is no control", index);
    }
    const auto slot = static_cast<std::size_t>(index);
    const RECT was = m_elements[slot]->storedGeometry().pixels();
    const bool shown = m_elements[slot]->isVisible();
    m_elements[slot].reset();
    while (m_elements.size() > 1 && !m_elements.back()) {
        m_elements.pop_back();
    }
    if (shown) {
        m_layer.changed(was, was);
    }
}

template class MarkerArray<MarkerIcon, PictureControl>;
template class MarkerArray<MarkerNumber, TextBox>;

namespace {

// The design's font at 96 dots per inch (6.75 points: 9 pixels), as the
// process is DPI-unaware.
HFONT makeNumberFont() {
    const int pixels = static_cast<int>(std::lround(kNumberPointSize * 96.0 / 72.0));
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

template <class Array>
bool anyVisibleAt(const Array& array, double x, double y) {
    for (const auto& element : array.elements()) {
        if (element && element->isVisible() && element->storedGeometry().contains(x, y)) {
            return true;
        }
    }
    return false;
}

}  // namespace

MarkerLayer::MarkerLayer(std::function<void(const RECT&)> changed)
    : m_changed(std::move(changed)),
      m_font(makeNumberFont()),
      m_frontIcons(*this, "Image1"),
      m_frontNumbers(*this, "Text3"),
      m_backIcons(*this, "Image2"),
      m_backNumbers(*this, "Text4") {}

MarkerLayer::~MarkerLayer() {
    DeleteObject(m_font);
}

Control& MarkerLayer::element0(std::string_view arrayName) {
    if (arrayName == "Image1") {
        return m_frontIcons.element0();
    }
    if (arrayName == "Text3") {
        return m_frontNumbers.element0();
    }
    if (arrayName == "Image2") {
        return m_backIcons.element0();
    }
    if (arrayName == "Text4") {
        return m_backNumbers.element0();
    }
    throw ToolkitError("The page markers have no array " + std::string(arrayName));
}

bool MarkerLayer::hitTest(double x, double y) const {
    return anyVisibleAt(m_frontNumbers, x, y) || anyVisibleAt(m_backNumbers, x, y) ||
           anyVisibleAt(m_frontIcons, x, y) || anyVisibleAt(m_backIcons, x, y);
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
        const RECT box = icon->storedGeometry().pixels();
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
        RECT box = number->storedGeometry().pixels();
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
