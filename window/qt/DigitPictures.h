#pragma once

// Page numbers drawn from pictures of the ten digits, made once per font:
// tens of thousands of numbers cost a few pixmap copies each instead of a
// text layout. Window pixels; black digits on white, as the number boxes are.

#include <QFont>
#include <QPixmap>
#include <QRectF>
#include <array>
#include <string_view>

class QPainter;

namespace window::qt {

class DigitPictures {
public:
    explicit DigitPictures(const QFont& font);

    // Whether `text` is made of digits only (and not empty): those it draws.
    static bool drawable(std::string_view text);
    // Draws `text` (digits only) centred in `box`, cut to it, over white.
    void draw(QPainter& painter, const QRectF& box, std::string_view text) const;
    // The width and height `text` takes, in pixels.
    int width(std::string_view text) const;
    int height() const { return m_height; }

private:
    std::array<QPixmap, 10> m_digits;  // each its advance wide and a line high
    int m_height = 0;
};

}  // namespace window::qt
