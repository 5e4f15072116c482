#include "window/qt/Artwork.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <mutex>
#include <stdexcept>
#include <string>

#include "window/Design.h"

// The resources live in a static library, so nothing would pull their object
// file into the executable; registering them by hand keeps them linked.
// Q_INIT_RESOURCE declares a function and must stay outside any namespace.
static void registerArtworkResources() {
    Q_INIT_RESOURCE(artwork);
}

namespace window::qt {
namespace {

// A source that does not load is a build fault, not a run-time condition.
void loadSource(QSvgRenderer& renderer, const PictureDesign& picture) {
    static std::once_flag registered;
    std::call_once(registered, registerArtworkResources);
    const QString path = QStringLiteral(":/artwork/") +
                         QString::fromUtf8(picture.file.data(), qsizetype(picture.file.size()));
    if (!renderer.load(path)) {
        throw std::logic_error("artwork source does not load: " + path.toStdString());
    }
}

// The picture stretched to `size`, of which only `part` is kept: the drawing is
// shifted so that the part lands on the image, which holds nothing else.
QImage render(const PictureDesign& picture, QSize size, QRect part) {
    QSvgRenderer renderer;
    loadSource(renderer, picture);
    const bool opaque = picture.ground == Ground::Opaque;
    QImage image(part.size(), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(-part.left(), -part.top()), QSizeF(size)));
    return image;
}

QImage render(const PictureDesign& picture, QSize size) {
    return render(picture, size, QRect(QPoint(0, 0), size));
}

}  // namespace

std::vector<std::string_view> artworkNames() {
    std::vector<std::string_view> names;
    for (const PictureDesign& picture : designedPictures()) {
        names.push_back(picture.name);
    }
    return names;
}

QSize artworkSize(std::string_view name) {
    const PictureDesign& picture = pictureDesign(name);
    return {picture.width, picture.height};
}

QPixmap artworkPicture(std::string_view name) {
    return QPixmap::fromImage(render(pictureDesign(name), artworkSize(name)));
}

QPixmap artworkPicture(std::string_view name, QSize size) {
    const PictureDesign& picture = pictureDesign(name);
    if (size.isEmpty()) {
        return {};
    }
    return QPixmap::fromImage(render(picture, size));
}

QPixmap artworkPicturePart(std::string_view name, QSize size, QRect part) {
    const PictureDesign& picture = pictureDesign(name);
    if (part.isEmpty()) {
        return {};
    }
    return QPixmap::fromImage(render(picture, size, part));
}

}  // namespace window::qt
