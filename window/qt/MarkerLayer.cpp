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
                           scaled(*icon->picture(), box.size(), part.translated(-box.topLeft()),
                                  devicePixelRatioF()));
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
        const std::string& text = number->storedText();
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

const QPixmap& MarkerLayer::scaled(const PictureData& picture, QSize size, QRect part,
                                   qreal ratio) {
    const auto key = std::make_tuple(&picture, size.width(), size.height(), part.left(), part.top(),
                                     part.width(), part.height(), ratio);
    auto found = m_scaled.find(key);
    if (found == m_scaled.end()) {
        if (m_scaled.size() >= kScaledCacheLimit) {
            m_scaled.clear();
        }
        // Rendered straight at the marker's size in the screen's pixels, so
        // thin outlines stay crisp on a scaled screen too.
        const QSize deviceSize = (QSizeF(size) * ratio).toSize();
        const QRect devicePart =
            QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio).toAlignedRect() &
            QRect(QPoint(0, 0), deviceSize);
        QPixmap drawn = artworkPicturePart(picture.artwork(), deviceSize, devicePart);
        drawn.setDevicePixelRatio(ratio);
        found = m_scaled.emplace(key, std::move(drawn)).first;
    }
    return found->second;
}

}  // namespace window::qt
