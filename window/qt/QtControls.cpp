#include "window/qt/QtControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "window/qt/Artwork.h"

namespace window::qt {

Picture makePicture(std::string artwork) {
    return std::make_shared<const PictureData>(std::move(artwork));
}

}  // namespace window::qt

const QPixmap& window::PictureData::pixmap() const {
    if (m_pixmap.isNull()) {
        m_pixmap = qt::artworkPicture(m_artwork);
    }
    return m_pixmap;
}

namespace window::qt {

QRect ControlGeometry::pixels() const {
    const auto px = [](float value) { return static_cast<int>(std::nearbyint(value)); };
    return {px(left), px(top), px(width), px(height)};
}

PictureWidget::PictureWidget(QWidget* parent) : WidgetControl(parent) {
    // Moves over a picture belong to it, never to the window behind it.
    setMouseTracking(true);
}

void PictureWidget::setPicture(Picture picture) {
    m_picture = std::move(picture);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    if (!m_picture) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0) {
        painter.drawPixmap(rect(), m_picture->pixmap());
        return;
    }
    // On a scaled screen the drawing is rendered straight at the screen's
    // pixels, so that no picture is enlarged and blurred.
    const QSize size = (QSizeF(rect().size()) * ratio).toSize();
    if (m_sharpOf != m_picture || m_sharp.size() != size) {
        m_sharp = artworkPicture(m_picture->artwork(), size);
        m_sharp.setDevicePixelRatio(ratio);
        m_sharpOf = m_picture;
    }
    painter.drawPixmap(rect(), m_sharp);
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit moved();
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        m_leftPressed = true;
    }
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    // A click is a left press and release on the same control.
    const bool click = m_leftPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        m_leftPressed = false;
    }
    if (click) {
        emit clicked();
    }
}

OutlineWidget::OutlineWidget(QWidget* parent) : WidgetControl(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace window::qt
