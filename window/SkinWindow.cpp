#include "window/SkinWindow.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "window/Artwork.h"
#include "window/EventGuard.h"
#include "window/MessageBox.h"

namespace window {

namespace {

int buttonCode(Qt::MouseButtons buttons) {
    return static_cast<int>(
        (buttons & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)).toInt());
}

int pixelsFromTwips(float twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

void place(Control& control, QRect designed) {
    control.setLeft(static_cast<float>(designed.x()));
    control.setTop(static_cast<float>(designed.y()));
    control.setWidth(static_cast<float>(designed.width()));
    control.setHeight(static_cast<float>(designed.height()));
}

}  // namespace

SkinWindow::SkinWindow()
    : QWidget(nullptr, Qt::FramelessWindowHint), m_skin(artworkPicture("skin")) {
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(artworkPicture("logo")));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // Stacking from the bottom: outlines, markers, then arrows and buttons.
    m_shape1 = new OutlineWidget(this);
    place(*m_shape1, {24, 80, 341, 361});
    m_shape2 = new OutlineWidget(this);
    place(*m_shape2, {432, 80, 353, 361});
    m_markers = new MarkerLayer(this);
    m_markers->setGeometry(rect());

    auto& image1 = m_markers->frontIcons().element0();
    place(image1, {56, 184, 200, 80});
    image1.setVisible(true);
    auto& text3 = m_markers->frontNumbers().element0();
    place(text3, {176, 224, 25, 12});
    text3.setText("9999");
    text3.setVisible(true);
    auto& image2 = m_markers->backIcons().element0();
    place(image2, {456, 136, 81, 33});
    image2.setVisible(true);
    auto& text4 = m_markers->backNumbers().element0();
    place(text4, {472, 144, 25, 13});
    text4.setText("Text1");
    text4.setVisible(true);

    m_controls = std::unique_ptr<Controls>(
        new Controls{*m_shape1,
                     *m_shape2,
                     m_markers->frontIcons(),
                     m_markers->frontNumbers(),
                     m_markers->backIcons(),
                     m_markers->backNumbers(),
                     *addPicture("Image3", {384, 184, 33, 116}, "tArrUp90"),
                     *addPicture("Image4", {344, 456, 116, 32}, "tArrDwn0"),
                     *addPicture("bReflect", {24, 496, 116, 32}, "tReflectUp"),
                     *addPicture("bDuplicate", {152, 496, 116, 32}, "tDuplicateUp"),
                     *addPicture("bRefresh", {424, 496, 116, 32}, "tRefreshUp"),
                     *addPicture("bForget", {672, 496, 116, 32}, "tForgetUp"),
                     addSource("tReflectUp"),
                     addSource("tReflectDown"),
                     addSource("tDuplicateUp"),
                     addSource("tDuplicateDown"),
                     addSource("tRefreshUp"),
                     addSource("tRefreshDown"),
                     addSource("tForgetUp"),
                     addSource("tForgetDown"),
                     addSource("tArrUp0"),
                     addSource("tArrDwn0"),
                     addSource("tArrUp90"),
                     addSource("tArrDwn90"),
                     addSource("page0"),
                     addSource("page90"),
                     addSource("page180"),
                     addSource("page270")});
}

SkinWindow::~SkinWindow() = default;

SourcePicture& SkinWindow::addSource(const char* artwork) {
    for (const auto& source : m_sources) {
        if (source->artwork() == artwork) {
            return *source;
        }
    }
    m_sources.push_back(std::make_unique<SourcePicture>(artwork));
    return *m_sources.back();
}

PictureWidget* SkinWindow::addPicture(const char* name, QRect designed, const char* artwork) {
    auto* picture = new PictureWidget(this);
    picture->setObjectName(name);
    place(*picture, designed);
    // At load a control shows the very picture its source holds.
    picture->setPicture(addSource(artwork).picture());
    return picture;
}

PictureWidget& SkinWindow::pictureWidget(const char* name) const {
    auto* picture = findChild<PictureWidget*>(name, Qt::FindDirectChildrenOnly);
    if (!picture) {
        throw ToolkitError(std::string("There is no picture control ") + name);
    }
    return *picture;
}

void SkinWindow::connectHandlers(FormHandlers& handlers, EventGuard& guard) {
    m_handlers = &handlers;
    m_guard = &guard;
    const auto route = [this](const char* name, void (FormHandlers::*click)(),
                              void (FormHandlers::*hover)()) {
        auto& picture = pictureWidget(name);
        connect(&picture, &PictureWidget::clicked, this, [this, click] { dispatch(click); });
        if (hover) {
            connect(&picture, &PictureWidget::moved, this, [this, hover] { dispatch(hover); });
        }
    };
    route("bReflect", &FormHandlers::bReflectClick, &FormHandlers::bReflectMouseMove);
    route("bDuplicate", &FormHandlers::bDuplicateClick, &FormHandlers::bDuplicateMouseMove);
    route("bRefresh", &FormHandlers::bRefreshClick, &FormHandlers::bRefreshMouseMove);
    route("bForget", &FormHandlers::bForgetClick, &FormHandlers::bForgetMouseMove);
    route("Image3", &FormHandlers::image3Click, nullptr);
    route("Image4", &FormHandlers::image4Click, nullptr);
}

void SkinWindow::dispatch(void (FormHandlers::*handler)()) {
    if (m_handlers) {
        m_guard->run([this, handler] { (m_handlers->*handler)(); });
    }
}

float SkinWindow::left() const {
    return static_cast<float>(x()) * kTwipsPerPixel;
}
float SkinWindow::top() const {
    return static_cast<float>(y()) * kTwipsPerPixel;
}
void SkinWindow::setLeft(float twips) {
    move(pixelsFromTwips(twips), y());
}
void SkinWindow::setTop(float twips) {
    move(x(), pixelsFromTwips(twips));
}

void SkinWindow::showMessage(const std::string& text) {
    showMessageBox(text);
}

void SkinWindow::paintEvent(QPaintEvent*) {
    // Drawn unscaled from the corner: the skin's last row lies below the client area.
    QPainter(this).drawPixmap(0, 0, m_skin);
}

void SkinWindow::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (m_markers->hitTest(at)) {
        m_pressOnMarker = true;  // markers handle no events
        return;
    }
    if (m_handlers) {
        const int button = buttonCode(event->button());
        const auto x = static_cast<float>(at.x());
        const auto y = static_cast<float>(at.y());
        m_guard->run([=, this] { m_handlers->formMouseDown(button, x, y); });
    }
}

void SkinWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const int buttons = buttonCode(event->buttons());
    // Without a button held, a move over a marker is the marker's; with one held
    // after a press on the background, every move is the background's.
    if (m_pressOnMarker || (buttons == 0 && m_markers->hitTest(at)) || !m_handlers) {
        return;
    }
    const auto x = static_cast<float>(at.x());
    const auto y = static_cast<float>(at.y());
    m_guard->run([=, this] { m_handlers->formMouseMove(buttons, x, y); });
}

void SkinWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) {
        m_pressOnMarker = false;
    }
}

}  // namespace window
