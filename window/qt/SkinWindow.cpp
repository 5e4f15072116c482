#include "window/qt/SkinWindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "window/form/EventGuard.h"
#include "window/qt/Artwork.h"
#include "window/qt/MessageBox.h"

namespace window::qt {

namespace {

int buttonCode(Qt::MouseButtons buttons) {
    return static_cast<int>(
        (buttons & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)).toInt());
}

int pixelsFromTwips(float twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

}  // namespace

SkinWindow::SkinWindow()
    : QWidget(nullptr, Qt::FramelessWindowHint), m_skin(artworkPicture("skin")) {
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(artworkPicture("logo")));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_controls = makeDesignedControls(*this);
}

SkinWindow::~SkinWindow() = default;

// Markers lie above the outlines and below the arrows and buttons; the layer
// comes with the first of them.
MarkerLayer& SkinWindow::markerLayer() {
    if (!m_markers) {
        m_markers = new MarkerLayer(this);
        m_markers->setGeometry(rect());
    }
    return *m_markers;
}

ControlArray<PictureControl>& SkinWindow::pictureArray(std::string_view name) {
    return markerLayer().icons(name);
}

ControlArray<TextBox>& SkinWindow::numberArray(std::string_view name) {
    return markerLayer().numbers(name);
}

Outline& SkinWindow::makeOutline(const ControlDesign&) {
    return *new OutlineWidget(this);
}

PictureControl& SkinWindow::makePictureBox(const ControlDesign& design) {
    auto* picture = new PictureWidget(this);
    picture->setObjectName(QString::fromUtf8(design.name.data(), qsizetype(design.name.size())));
    return *picture;
}

SourcePicture& SkinWindow::pictureSource(std::string_view name) {
    return m_sources.source(name);
}

PictureWidget& SkinWindow::pictureWidget(std::string_view name) const {
    auto* picture = findChild<PictureWidget*>(
        QString::fromUtf8(name.data(), qsizetype(name.size())), Qt::FindDirectChildrenOnly);
    if (!picture) {
        throw ToolkitError("There is no picture control " + std::string(name));
    }
    return *picture;
}

void SkinWindow::connectHandlers(FormHandlers& handlers, EventGuard& guard) {
    m_handlers = &handlers;
    m_guard = &guard;
    for (const PictureRoute& route : kPictureRoutes) {
        auto& picture = pictureWidget(route.control);
        connect(&picture, &PictureWidget::clicked, this,
                [this, click = route.click] { dispatch(click); });
        if (const auto move = route.move) {
            connect(&picture, &PictureWidget::moved, this, [this, move] { dispatch(move); });
        }
    }
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
    // Rendered at the screen's pixels, so that it stays sharp on a scaled
    // screen too.
    const qreal ratio = devicePixelRatioF();
    if (m_skin.devicePixelRatio() != ratio) {
        const QSize design = artworkSize("skin");
        m_skin = artworkPicture("skin", (QSizeF(design) * ratio).toSize());
        m_skin.setDevicePixelRatio(ratio);
    }
    // Drawn from the corner: the skin's last row lies below the client area.
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

// Esc and Alt+F4 do what Forget does (without a window manager Alt+F4 comes
// as a key). Enter does nothing: Reflect changes the document and closes, so
// it takes a deliberate click. A key held down repeats; only its first press
// counts.
void SkinWindow::keyPressEvent(QKeyEvent* event) {
    const bool altF4 = event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier;
    if (event->key() == Qt::Key_Escape || altF4) {
        if (!event->isAutoRepeat()) {
            dispatch(&FormHandlers::bForgetClick);
        }
        event->accept();
        return;
    }
    event->ignore();
}

// The window manager's close (Alt+F4, the taskbar's Close) is Forget, which
// closes the window itself.
void SkinWindow::closeEvent(QCloseEvent* event) {
    if (m_handlers) {
        event->ignore();
        dispatch(&FormHandlers::bForgetClick);
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace window::qt
