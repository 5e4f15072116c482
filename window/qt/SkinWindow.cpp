#include "window/qt/SkinWindow.h"

#include <QIcon>
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

void place(Control& control, const Box& designed) {
    control.setLeft(static_cast<float>(designed.left));
    control.setTop(static_cast<float>(designed.top));
    control.setWidth(static_cast<float>(designed.width));
    control.setHeight(static_cast<float>(designed.height));
}

}  // namespace

SkinWindow::SkinWindow()
    : QWidget(nullptr, Qt::FramelessWindowHint), m_skin(artworkPicture("skin")) {
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(artworkPicture("logo")));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    for (const ControlDesign& design : designedControls()) {
        addControl(design);
    }
    m_controls = gatherControls();
}

SkinWindow::~SkinWindow() = default;

void SkinWindow::addControl(const ControlDesign& design) {
    switch (design.kind) {
        case ControlKind::ShapeOutline: {
            auto* outline = new OutlineWidget(this);
            place(*outline, design.box);
            m_byName[design.name] = outline;
            break;
        }
        case ControlKind::PictureBox:
        case ControlKind::NumberBox:
            if (design.array) {
                placeMarker(design);
            } else {
                addPicture(design);
            }
            break;
        case ControlKind::PictureSource:
            m_byName[design.name] = &addSource(design.picture);
            break;
    }
}

// Markers lie above the outlines and below the arrows and buttons; the layer
// comes with the first of them.
void SkinWindow::placeMarker(const ControlDesign& design) {
    if (!m_markers) {
        m_markers = new MarkerLayer(this);
        m_markers->setGeometry(rect());
    }
    Control& element = m_markers->element0(design.name);
    place(element, design.box);
    if (auto* number = dynamic_cast<TextBox*>(&element)) {
        number->setText(std::string(design.text));
    }
    element.setVisible(true);
    m_byName[design.name] = &element;
}

SourcePicture& SkinWindow::addSource(std::string_view artwork) {
    for (const auto& source : m_sources) {
        if (source->artwork() == artwork) {
            return *source;
        }
    }
    m_sources.push_back(std::make_unique<SourcePicture>(std::string(artwork)));
    return *m_sources.back();
}

void SkinWindow::addPicture(const ControlDesign& design) {
    auto* picture = new PictureWidget(this);
    picture->setObjectName(QString::fromUtf8(design.name.data(), qsizetype(design.name.size())));
    place(*picture, design.box);
    // At load a control shows the very picture its source holds.
    if (!design.picture.empty()) {
        picture->setPicture(addSource(design.picture).picture());
    }
    m_byName[design.name] = picture;
}

template <class T>
T& SkinWindow::designed(std::string_view name) const {
    const auto found = m_byName.find(name);
    T* control = found == m_byName.end() ? nullptr : dynamic_cast<T*>(found->second);
    if (!control) {
        throw ToolkitError("The design has no control " + std::string(name) + " of that kind");
    }
    return *control;
}

std::unique_ptr<Controls> SkinWindow::gatherControls() {
    const auto picture = [this](std::string_view name) -> PictureControl& {
        return designed<PictureControl>(name);
    };
    return std::unique_ptr<Controls>(new Controls{designed<Outline>("Shape1"),
                                                  designed<Outline>("Shape2"),
                                                  m_markers->frontIcons(),
                                                  m_markers->frontNumbers(),
                                                  m_markers->backIcons(),
                                                  m_markers->backNumbers(),
                                                  picture("Image3"),
                                                  picture("Image4"),
                                                  picture("bReflect"),
                                                  picture("bDuplicate"),
                                                  picture("bRefresh"),
                                                  picture("bForget"),
                                                  picture("tReflectUp"),
                                                  picture("tReflectDown"),
                                                  picture("tDuplicateUp"),
                                                  picture("tDuplicateDown"),
                                                  picture("tRefreshUp"),
                                                  picture("tRefreshDown"),
                                                  picture("tForgetUp"),
                                                  picture("tForgetDown"),
                                                  picture("tArrUp0"),
                                                  picture("tArrDwn0"),
                                                  picture("tArrUp90"),
                                                  picture("tArrDwn90"),
                                                  picture("page0"),
                                                  picture("page90"),
                                                  picture("page180"),
                                                  picture("page270")});
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

}  // namespace window::qt
