#include "bench/FloorWindow.h"

#include <QPainter>

#include "window/Design.h"
#include "window/qt/Artwork.h"
#include "window/qt/SkinWindow.h"

namespace bench {

FloorWindow::FloorWindow()
    : QWidget(nullptr, Qt::FramelessWindowHint), m_skin(window::qt::artworkPicture("skin")) {
    setFixedSize(window::kClientWidth, window::kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FloorWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_skin);
}

}  // namespace bench
