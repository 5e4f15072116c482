#include "bench/FloorWindow.h"

#include <QPainter>

#include "window/Artwork.h"
#include "window/SkinWindow.h"

namespace bench {

FloorWindow::FloorWindow()
    : QWidget(nullptr, Qt::FramelessWindowHint), m_skin(window::artworkPicture("skin")) {
    setFixedSize(window::kClientWidth, window::kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FloorWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_skin);
}

}  // namespace bench
