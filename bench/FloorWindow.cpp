#include "bench/FloorWindow.h"

#include <QPainter>
#include <utility>

#include "window/Design.h"

namespace bench {

FloorWindow::FloorWindow(QPixmap picture)
    : QWidget(nullptr, Qt::FramelessWindowHint), m_picture(std::move(picture)) {
    setFixedSize(window::kClientWidth, window::kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FloorWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_picture);
}

}  // namespace bench
