#include "bench/RepaintFloor.h"

#include <QPainter>
#include <utility>

#include "window/Design.h"
#include "window/qt/Artwork.h"
#include "window/qt/MarkerLayer.h"

namespace bench {

RepaintFloor::RepaintFloor(QPixmap skin, std::vector<FloorMarker> markers)
    : QWidget(nullptr, Qt::FramelessWindowHint),
      m_skin(std::move(skin)),
      m_markers(std::move(markers)),
      m_digits(window::qt::MarkerLayer::numberFont()) {
    setFixedSize(window::kClientWidth, window::kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RepaintFloor::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_skin);
    for (const FloorMarker& marker : m_markers) {
        const auto key = std::make_tuple(marker.icon, marker.box.width(), marker.box.height());
        auto icon = m_icons.find(key);
        if (icon == m_icons.end()) {
            icon = m_icons.emplace(key, window::qt::artworkPicture(marker.icon, marker.box.size()))
                       .first;
        }
        painter.drawPixmap(marker.box.topLeft(), icon->second);
    }
    for (const FloorMarker& marker : m_markers) {
        const int width = m_digits.width(marker.number);
        if (width <= marker.box.width() && m_digits.height() <= marker.box.height()) {
            const QRect box(marker.box.center() - QPoint(width / 2, m_digits.height() / 2),
                            QSize(width, m_digits.height()));
            painter.fillRect(box, Qt::white);
            m_digits.draw(painter, box, marker.number);
        }
    }
}

}  // namespace bench
