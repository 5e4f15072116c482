// Writes every artwork picture as PNG into the folder given as the only
// argument, plus the page icons at small marker sizes and a mock-up of the
// window's look, so the artwork can be judged by eye.

#include "window/qt/Artwork.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QRect>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

QString qName(std::string_view name) {
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

bool save(const QPixmap& pixmap, const QDir& dir, const QString& file) {
    const QString path = dir.filePath(file);
    if (!pixmap.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Pictures stretched to their places the way the window shows them.
void drawStretched(QPainter& painter, std::string_view name, QRect place) {
    painter.drawPixmap(place, window::qt::artworkPicture(name));
}

QPixmap mockWindow() {
    QPixmap canvas = window::qt::artworkPicture("skin").copy(0, 0, 820, 558);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(24, 80, 340, 360);
    painter.drawRect(432, 80, 352, 360);
    // A few page icons drawn straight at their marker size, with numbers.
    const QRect markers[] = {
        {40, 100, 96, 136}, {150, 100, 96, 136}, {40, 260, 136, 96}, {200, 260, 136, 96}};
    const std::string_view icons[] = {"page0", "page180", "page90", "page270"};
    for (int i = 0; i < 4; ++i) {
        const QRect& box = markers[i];
        painter.drawPixmap(box.topLeft(), window::qt::artworkPicture(icons[i], box.size()));
        const QRect number(box.center().x() - 12, box.center().y() - 6, 25, 12);
        painter.fillRect(number, Qt::white);
        painter.setFont(QFont("Arial", 7));
        painter.drawText(number, Qt::AlignCenter, QString::number(2 * i + 1));
    }
    drawStretched(painter, "tArrUp90", {384, 184, 33, 116});
    drawStretched(painter, "tArrDwn0", {344, 456, 116, 32});
    drawStretched(painter, "tReflectUp", {24, 496, 116, 32});
    drawStretched(painter, "tDuplicateDown", {152, 496, 116, 32});
    drawStretched(painter, "tRefreshUp", {424, 496, 116, 32});
    drawStretched(painter, "tForgetUp", {672, 496, 116, 32});
    return canvas;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork_preview <folder>\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (std::string_view name : window::qt::artworkNames()) {
        ok = save(window::qt::artworkPicture(name), dir, qName(name) + ".png") && ok;
        if (name.starts_with("page")) {
            const QSize small = window::qt::artworkSize(name).scaled(40, 40, Qt::KeepAspectRatio);
            ok = save(window::qt::artworkPicture(name, small), dir, qName(name) + "-small.png") &&
                 ok;
        }
    }
    ok = save(mockWindow(), dir, "mock-window.png") && ok;
    return ok ? 0 : 1;
}
