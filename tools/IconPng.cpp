// quarvel_icon_png: renders an SVG picture as a square PNG icon for desktops
// that want bitmaps (the hicolor theme's NxN folders).
//
//   quarvel_icon_png PICTURE.svg SIZE OUT.png
//
// SIZE is the side in pixels. The picture keeps its proportions, centred on a
// transparent square. Exit status 1 when the picture cannot be read or the PNG
// written, 2 for a mistake on the command line.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <charconv>
#include <iostream>
#include <string>

namespace {

constexpr int kLargestSide = 1024;

int parseSide(const std::string& text) {
    int side = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, side);
    return error == std::errc() && stop == end && side >= 1 && side <= kLargestSide ? side : 0;
}

// The largest rectangle of the picture's proportions centred in a square of `side`.
QRectF centred(QSizeF picture, int side) {
    const QSizeF fitted = picture.scaled(side, side, Qt::KeepAspectRatio);
    return {(side - fitted.width()) / 2.0, (side - fitted.height()) / 2.0, fitted.width(),
            fitted.height()};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 || parseSide(argv[2]) == 0) {
        std::cerr << "usage: quarvel_icon_png PICTURE.svg SIZE OUT.png (SIZE 1 to " << kLargestSide
                  << ")\n";
        return 2;
    }
    // Rendering needs no screen: build machines have none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    const int side = parseSide(argv[2]);
    QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
    if (!picture.isValid()) {
        std::cerr << "quarvel_icon_png: cannot read the picture " << argv[1] << '\n';
        return 1;
    }
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        picture.render(&painter, centred(picture.defaultSize(), side));
    }
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::cerr << "quarvel_icon_png: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}
