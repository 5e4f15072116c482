#include "window/qt/MarkerLayer.h"

#include <QPaintEvent>
#include <QPainter>
#include <string>

#include "window/Design.h"
#include "window/MarkerClip.h"
#include "window/qt/Artwork.h"

namespace window::qt {

namespace {
// Scaled icons kept at most; a sheet rarely has more than a handful of sizes.
constexpr std::size_t kScaledCacheLimit = 512;
}  // namespace

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
    // A copy of element 0 in everything but visibility.
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
    m_elements[slot].reset();
    while (m_elements.size() > 1 && !m_elements.back()) {
        m_elements.pop_back();
    }
    m_layer.changed();
}

template class MarkerArray<MarkerIcon, PictureControl>;
template class MarkerArray<MarkerNumber, TextBox>;

MarkerLayer::MarkerLayer(QWidget* parent)
    : QWidget(parent),
      m_frontIcons(*this, "Image1"),
      m_frontNumbers(*this, "Text3"),
      m_backIcons(*this, "Image2"),
      m_backNumbers(*this, "Text4") {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

Control& MarkerLayer::element0(std::string_view arrayName) {
    for (IconArray* icons : {&m_frontIcons, &m_backIcons}) {
        if (icons->name() == arrayName) {
            return icons->element0();
        }
    }
    for (NumberArray* numbers : {&m_frontNumbers, &m_backNumbers}) {
        if (numbers->name() == arrayName) {
            return numbers->element0();
        }
    }
    throw ToolkitError("There is no control array " + std::string(arrayName));
}

QFont MarkerLayer::numberFont() {
    QFont font(kNumberFont);
    font.setPointSizeF(kNumberPointSize);
    return font;
}

namespace {

template <class Array>
bool anyVisibleAt(const Array& array, QPointF point) {
    for (const auto& element : array.elements()) {
        if (element && element->isVisible() && element->storedGeometry().exact().contains(point)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool MarkerLayer::hitTest(QPointF point) const {
    return anyVisibleAt(m_frontNumbers, point) || anyVisibleAt(m_backNumbers, point) ||
           anyVisibleAt(m_frontIcons, point) || anyVisibleAt(m_backIcons, point);
}

void MarkerLayer::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    paintIcons(painter, m_frontIcons, dirty);
    paintIcons(painter, m_backIcons, dirty);
    painter.setFont(numberFont());
    if (!m_digits) {
        m_digits = std::make_unique<DigitPictures>(numberFont());
    }
    paintNumbers(painter, m_frontNumbers, m_frontIcons, dirty);
    paintNumbers(painter, m_backNumbers, m_backIcons, dirty);
}

void MarkerLayer::paintIcons(QPainter& painter, const IconArray& icons, const QRect& dirty) {
    for (const auto& icon : icons.elements()) {
        if (!icon || !icon->isVisible() || !icon->picture()) {
            continue;
        }
        const QRect box = icon->storedGeometry().pixels();
        // Only the part inside the layer is drawn: a marker may be far larger than the window.
        const PixelBox shown = visiblePart({box.left(), box.top(), box.width(), box.height()},
                                           {0, 0, width(), height()});
        const QRect part(int(shown.left), int(shown.top), int(shown.width), int(shown.height));
        if (part.isEmpty() || !part.intersects(dirty)) {
            continue;
        }
        painter.drawPixmap(part.topLeft(),
                           scaled(*icon->picture(), box.size(), part.translated(-box.topLeft())));
    }
}

void MarkerLayer::paintNumbers(QPainter& painter, const NumberArray& numbers,
                               const IconArray& icons, const QRect& dirty) {
    const auto& iconList = icons.elements();
    for (std::size_t i = 0; i < numbers.elements().size(); ++i) {
        const MarkerNumber* number = numbers.elements()[i].get();
        if (!number || !number->isVisible()) {
            continue;
        }
        const QRectF box = number->storedGeometry().exact();
        if (box.isEmpty() || !box.intersects(dirty)) {
            continue;
        }
        const std::string& text = number->shownText();
        if (!DigitPictures::drawable(text)) {
            painter.fillRect(box, Qt::white);
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignCenter, QString::fromStdString(text));
            continue;
        }
        const MarkerIcon* icon = i < iconList.size() ? iconList[i].get() : nullptr;
        if (icon) {
            const QRectF mark = icon->storedGeometry().exact();
            if (mark.width() < m_digits->width(text) || mark.height() < m_digits->height()) {
                continue;
            }
        }
        painter.fillRect(box, Qt::white);
        m_digits->draw(painter, box, text);
    }
}

const QPixmap& MarkerLayer::scaled(const PictureData& picture, QSize size, QRect part) {
    const auto key = std::make_tuple(&picture, size.width(), size.height(), part.left(), part.top(),
                                     part.width(), part.height());
    auto found = m_scaled.find(key);
    if (found == m_scaled.end()) {
        if (m_scaled.size() >= kScaledCacheLimit) {
            m_scaled.clear();
        }
        // Rendered straight at the marker's size, so thin outlines stay crisp.
        QPixmap drawn = artworkPicturePart(picture.artwork(), size, part);
        found = m_scaled.emplace(key, std::move(drawn)).first;
    }
    return found->second;
}

}  // namespace window::qt
