#pragma once

// Page markers: icons and number boxes that are not widgets but records
// painted by one transparent layer over the sheet outlines. A window may hold
// tens of thousands of them, far more than Qt can stack as sibling widgets.

#include <QFont>
#include <QWidget>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "window/qt/DigitPictures.h"
#include "window/qt/QtControls.h"

namespace window::qt {

class MarkerLayer;

// One marker element; every change repaints the layer.
template <class Interface>
class MarkerElement : public StoredGeometry<Interface> {
public:
    explicit MarkerElement(MarkerLayer& layer) : m_layer(&layer) {}

    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { this->change(m_visible, visible); }

protected:
    void changed() override;

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
    const std::string& shownText() const { return m_text; }
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
    std::string_view name() const { return m_name; }
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
// lie above pictures. Transparent for the mouse; the window asks hitTest().
class MarkerLayer : public QWidget {
public:
    explicit MarkerLayer(QWidget* parent);

    IconArray& frontIcons() { return m_frontIcons; }
    NumberArray& frontNumbers() { return m_frontNumbers; }
    IconArray& backIcons() { return m_backIcons; }
    NumberArray& backNumbers() { return m_backNumbers; }
    // Element 0 of the array with that design name; throws ToolkitError for another name.
    Control& element0(std::string_view arrayName);

    // Whether a visible marker lies under the window point.
    bool hitTest(QPointF point) const;

    void changed() { update(); }
    static QFont numberFont();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintIcons(QPainter& painter, const IconArray& icons, const QRect& dirty);
    // Numbers in digits show only where they fit in their icons: on markers a
    // few pixels wide no number can be read.
    void paintNumbers(QPainter& painter, const NumberArray& numbers, const IconArray& icons,
                      const QRect& dirty);
    // The part `part` (picture pixels) of `picture` stretched to `size`.
    const QPixmap& scaled(const PictureData& picture, QSize size, QRect part);

    IconArray m_frontIcons;
    NumberArray m_frontNumbers;
    IconArray m_backIcons;
    NumberArray m_backNumbers;
    // Icons drawn at each marker's size (the part that shows), so a repaint does
    // not rescale them.
    std::map<std::tuple<const PictureData*, int, int, int, int, int, int>, QPixmap> m_scaled;
    std::unique_ptr<DigitPictures> m_digits;  // made at the first paint
};

template <class Interface>
void MarkerElement<Interface>::changed() {
    m_layer->changed();
}

}  // namespace window::qt
