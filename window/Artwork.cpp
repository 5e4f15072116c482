#include "window/Artwork.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <array>
#include <mutex>
#include <stdexcept>
#include <string>

// The resources live in a static library, so nothing would pull their object
// file into the executable; registering them by hand keeps them linked.
// Q_INIT_RESOURCE declares a function and must stay outside any namespace.
static void registerArtworkResources() {
    Q_INIT_RESOURCE(artwork);
}

namespace window {
namespace {

// Opaque pictures paint their whole area (24-bit images on the panel);
// page icons are black drawings on a transparent ground.
enum class Ground { Opaque, Transparent };

struct ArtworkEntry {
    std::string_view name;
    std::string_view file;
    QSize size;
    Ground ground;
};

constexpr QSize kFace{228, 56};
constexpr QSize kArrowH{110, 38};
constexpr QSize kArrowV{38, 110};
constexpr QSize kPortrait{480, 680};
constexpr QSize kLandscape{680, 480};

constexpr std::array kPictures{
    ArtworkEntry{"skin", "skin.svg", QSize{820, 559}, Ground::Opaque},
    ArtworkEntry{"logo", "logo.svg", QSize{23, 15}, Ground::Opaque},
    ArtworkEntry{"tReflectUp", "reflect-up.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tReflectDown", "reflect-down.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tDuplicateUp", "duplicate-up.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tDuplicateDown", "duplicate-down.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tRefreshUp", "refresh-up.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tRefreshDown", "refresh-down.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tForgetUp", "forget-up.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tForgetDown", "forget-down.svg", kFace, Ground::Opaque},
    ArtworkEntry{"tArrUp0", "arrow-h-pale.svg", kArrowH, Ground::Opaque},
    ArtworkEntry{"tArrDwn0", "arrow-h-vivid.svg", kArrowH, Ground::Opaque},
    ArtworkEntry{"tArrUp90", "arrow-v-pale.svg", kArrowV, Ground::Opaque},
    ArtworkEntry{"tArrDwn90", "arrow-v-vivid.svg", kArrowV, Ground::Opaque},
    ArtworkEntry{"page0", "page0.svg", kPortrait, Ground::Transparent},
    ArtworkEntry{"page90", "page90.svg", kLandscape, Ground::Transparent},
    ArtworkEntry{"page180", "page180.svg", kPortrait, Ground::Transparent},
    ArtworkEntry{"page270", "page270.svg", kLandscape, Ground::Transparent},
};

const ArtworkEntry& findPicture(std::string_view name) {
    for (const ArtworkEntry& picture : kPictures) {
        if (picture.name == name) {
            return picture;
        }
    }
    throw std::logic_error("unknown artwork picture: " + std::string(name));
}

// A source that does not load is a build fault, not a run-time condition.
void loadSource(QSvgRenderer& renderer, const ArtworkEntry& picture) {
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
QImage render(const ArtworkEntry& picture, QSize size, QRect part) {
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

QImage render(const ArtworkEntry& picture, QSize size) {
    return render(picture, size, QRect(QPoint(0, 0), size));
}

}  // namespace

std::vector<std::string_view> artworkNames() {
    std::vector<std::string_view> names;
    names.reserve(kPictures.size());
    for (const ArtworkEntry& picture : kPictures) {
        names.push_back(picture.name);
    }
    return names;
}

QSize artworkSize(std::string_view name) {
    return findPicture(name).size;
}

QPixmap artworkPicture(std::string_view name) {
    const ArtworkEntry& picture = findPicture(name);
    return QPixmap::fromImage(render(picture, picture.size));
}

QPixmap artworkPicture(std::string_view name, QSize size) {
    const ArtworkEntry& picture = findPicture(name);
    if (size.isEmpty()) {
        return {};
    }
    return QPixmap::fromImage(render(picture, size));
}

QPixmap artworkPicturePart(std::string_view name, QSize size, QRect part) {
    const ArtworkEntry& picture = findPicture(name);
    if (part.isEmpty()) {
        return {};
    }
    return QPixmap::fromImage(render(picture, size, part));
}

}  // namespace window
