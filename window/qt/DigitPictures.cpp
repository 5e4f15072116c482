#include "window/qt/DigitPictures.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace window::qt {

DigitPictures::DigitPictures(const QFont& font) {
    QFont grey(font);
    // Grey-scale smoothing only, as the number boxes show it on any screen.
    grey.setStyleStrategy(QFont::NoSubpixelAntialias);
    const QFontMetrics metrics(grey);
    m_height = metrics.height();
    for (int digit = 0; digit < 10; ++digit) {
        const QChar character(static_cast<char16_t>(u'0' + digit));
        QPixmap picture(std::max(1, metrics.horizontalAdvance(character)), std::max(1, m_height));
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setFont(grey);
        painter.setPen(Qt::black);
        painter.drawText(0, metrics.ascent(), QString(character));
        painter.end();
        m_digits[static_cast<std::size_t>(digit)] = std::move(picture);
    }
}

bool DigitPictures::drawable(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int DigitPictures::width(std::string_view text) const {
    int total = 0;
    for (const char c : text) {
        total += m_digits[static_cast<std::size_t>(c - '0')].width();
    }
    return total;
}

void DigitPictures::draw(QPainter& painter, const QRectF& box, std::string_view text) const {
    // Cut to the pixels the box's white covers; the line starts on a whole pixel.
    const QRect cut = box.toRect();
    int x = static_cast<int>(std::lround(box.left() + (box.width() - width(text)) / 2.0));
    const int y = static_cast<int>(std::lround(box.top() + (box.height() - m_height) / 2.0));
    for (const char c : text) {
        const QPixmap& digit = m_digits[static_cast<std::size_t>(c - '0')];
        const QRect target = QRect(x, y, digit.width(), digit.height()) & cut;
        if (!target.isEmpty()) {
            painter.drawPixmap(target.topLeft(), digit, target.translated(-x, -y));
        }
        x += digit.width();
    }
}

}  // namespace window::qt
