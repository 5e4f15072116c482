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

MarkerLayer::MarkerLayer(QWidget* parent) : QWidget(parent), MarkerRecords<ControlGeometry>(this) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QFont MarkerLayer::numberFont() {
    QFont font(kNumberFont);
    font.setPointSizeF(kNumberPointSize);
    return font;
}

bool MarkerLayer::hitTest(QPointF point) const {
    return anyShown(
        [point](const ControlGeometry& geometry) { return geometry.exact().contains(point); });
}

void MarkerLayer::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    paintIcons(painter, m_frontIcons, dirty);
    paintIcons(painter, m_backIcons, dirty);
    painter.setFont(numberFont());
    paintNumbers(painter, m_frontNumbers, dirty);
    paintNumbers(painter, m_backNumbers, dirty);
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

void MarkerLayer::paintNumbers(QPainter& painter, const NumberArray& numbers, const QRect& dirty) {
    for (const auto& number : numbers.elements()) {
        if (!number || !number->isVisible()) {
            continue;
        }
        const QRectF box = number->storedGeometry().exact();
        if (box.isEmpty() || !box.intersects(dirty)) {
            continue;
        }
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QString::fromStdString(number->text()));
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
