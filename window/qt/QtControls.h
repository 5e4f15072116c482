#pragma once

// Qt Widgets controls behind the toolkit interface: picture controls and
// outlines are child widgets; page markers are painted by one layer widget, so
// tens of thousands of them cost no widgets.

#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string>

#include "window/ControlRecords.h"
#include "window/Toolkit.h"

// The toolkit interface's picture, as this backend holds it: a built-in
// drawing, rendered at its design size only when first drawn that way (markers
// render their icons at their own size instead).
class window::PictureData {
public:
    explicit PictureData(std::string artwork) : m_artwork(std::move(artwork)) {}
    const std::string& artwork() const { return m_artwork; }
    const QPixmap& pixmap() const;

private:
    std::string m_artwork;
    mutable QPixmap m_pixmap;
};

namespace window::qt {

Picture makePicture(std::string artwork);

// Geometry held as singles, as set; a widget shows it rounded to pixels.
struct ControlGeometry {
    float left = 0, top = 0, width = 0, height = 0;
    QRect pixels() const;
    QRectF exact() const { return {left, top, width, height}; }
};

// The position and size part of every control: stored as set, with a hook
// that tells the concrete control to show the change.
template <class Interface>
using StoredGeometry = window::StoredGeometry<Interface, ControlGeometry>;

// A control that is a child widget of the window.
template <class Interface>
class WidgetControl : public QWidget, public StoredGeometry<Interface> {
public:
    explicit WidgetControl(QWidget* parent) : QWidget(parent) {}
    bool isVisible() const override { return !isHidden(); }
    void setVisible(bool visible) override { QWidget::setVisible(visible); }

protected:
    void changed(const ControlGeometry&) override { setGeometry(this->storedGeometry().pixels()); }
};

// A picture control that is a real widget: buttons and arrows.
class PictureWidget : public WidgetControl<PictureControl> {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent);

    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override;

signals:
    void clicked();
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Picture m_picture;
    // On a scaled screen: the picture rendered at the screen's pixels, and of which.
    QPixmap m_sharp;
    Picture m_sharpOf;
    bool m_leftPressed = false;
};

// A rectangle outline; transparent for the mouse, so the window gets its events.
class OutlineWidget : public WidgetControl<Outline> {
public:
    explicit OutlineWidget(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace window::qt
