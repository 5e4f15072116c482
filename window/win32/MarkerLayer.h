#pragma once

// Page markers: icons and number boxes that are not windows but records,
// painted by one layer over the sheet outlines. Thousands of child windows
// would take seconds to paint and minutes to destroy; one layer paints
// thousands of markers in milliseconds. The layer takes no mouse input; the
// window asks hitTest() where a press or move lands.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/Toolkit.h"
#include "window/win32/Geometry.h"

namespace window::win32 {

class MarkerLayer;

// One marker element; every change repaints the layer.
template <class Interface>
class MarkerElement : public StoredGeometry<Interface> {
public:
    explicit MarkerElement(MarkerLayer& layer) : m_layer(&layer) {}

    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { this->change(m_visible, visible); }

protected:
    void changed(const ControlGeometry& before) override;

private:
    MarkerLayer* m_layer;
    bool m_visible = false;
};

class MarkerIcon : public MarkerElement<PictureControl> {
public:
    using MarkerElement::MarkerElement;
    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override { this->change(m_picture, picture); }

private:
    Picture m_picture;
};

class MarkerNumber : public MarkerElement<TextBox> {
public:
    using MarkerElement::MarkerElement;
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { this->change(m_text, text); }

private:
    std::string m_text;
};

// Element i lives at index i; removed and never-created elements are null.
template <class Element, class Interface>
class MarkerArray : public ControlArray<Interface> {
public:
    MarkerArray(MarkerLayer& layer, const char* name);

    Element& element0() { return *m_elements.front(); }
    Interface& operator[](std::int16_t index) override;
    bool exists(std::int16_t index) const override;
    void create(std::int16_t index) override;
    void remove(std::int16_t index) override;

    const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }

private:
    [[noreturn]] void fail(const char* what, std::int16_t index) const;

    MarkerLayer& m_layer;
    const char* m_name;
    std::vector<std::unique_ptr<Element>> m_elements;
};

using IconArray = MarkerArray<MarkerIcon, PictureControl>;
using NumberArray = MarkerArray<MarkerNumber, TextBox>;

// Paints every visible marker: icons first, number boxes on top, as text boxes
// lie above pictures.
class MarkerLayer {
public:
    // `changed` is told the window area to repaint after a marker changed.
    explicit MarkerLayer(std::function<void(const RECT&)> changed);
    ~MarkerLayer();
    MarkerLayer(const MarkerLayer&) = delete;
    MarkerLayer& operator=(const MarkerLayer&) = delete;

    IconArray& frontIcons() { return m_frontIcons; }
    NumberArray& frontNumbers() { return m_frontNumbers; }
    IconArray& backIcons() { return m_backIcons; }
    NumberArray& backNumbers() { return m_backNumbers; }
    // Element 0 of the array with that design name; throws ToolkitError for another name.
    Control& element0(std::string_view arrayName);

    // Whether a visible marker lies under the window point (edges included).
    bool hitTest(double x, double y) const;

    // Paints the markers that meet `dirty` onto `dc`, in window coordinates.
    void paint(HDC dc, const RECT& dirty) const;

    // A marker changed from `before` to `after` (pixels); repaints both places.
    void changed(const RECT& before, const RECT& after);

private:
    void paintIcons(HDC dc, const IconArray& icons, const RECT& dirty) const;
    void paintNumbers(HDC dc, const NumberArray& numbers, const RECT& dirty) const;

    std::function<void(const RECT&)> m_changed;
    HFONT m_font;
    IconArray m_frontIcons;
    NumberArray m_frontNumbers;
    IconArray m_backIcons;
    NumberArray m_backNumbers;
};

template <class Interface>
void MarkerElement<Interface>::changed(const ControlGeometry& before) {
    m_layer->changed(before.pixels(), this->storedGeometry().pixels());
}

}  // namespace window::win32
