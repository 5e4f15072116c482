#pragma once

// Qt Widgets controls behind the toolkit interface: picture controls and
// outlines are child widgets; page markers are painted by one layer widget, so
// tens of thousands of them cost no widgets.

#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string>

#include "window/Toolkit.h"

namespace window {

struct PictureData {
    QPixmap pixmap;
};

Picture makePicture(QPixmap pixmap);

// Geometry held as singles, as set; the widget shows it rounded to pixels.
class ControlGeometry {
public:
    float left = 0, top = 0, width = 0, height = 0;
    QRect pixels() const;
    QRectF exact() const { return {left, top, width, height}; }
};

// A picture control that is a real widget: buttons and arrows.
class PictureWidget : public QWidget, public PictureControl {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget* parent);

    float left() const override { return m_geometry.left; }
    float top() const override { return m_geometry.top; }
    float width() const override { return m_geometry.width; }
    float height() const override { return m_geometry.height; }
    void setLeft(float value) override;
    void setTop(float value) override;
    void setWidth(float value) override;
    void setHeight(float value) override;
    bool isVisible() const override { return !isHidden(); }
    void setVisible(bool visible) override { QWidget::setVisible(visible); }
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
    void place();

    ControlGeometry m_geometry;
    Picture m_picture;
    bool m_leftPressed = false;
};

// A picture control that never shows: the source of pictures copied at run time.
class SourcePicture : public PictureControl {
public:
    SourcePicture(std::string name, Picture picture)
        : m_name(std::move(name)), m_picture(std::move(picture)) {}
    const std::string& name() const { return m_name; }
    float left() const override { return m_geometry.left; }
    float top() const override { return m_geometry.top; }
    float width() const override { return m_geometry.width; }
    float height() const override { return m_geometry.height; }
    void setLeft(float value) override { m_geometry.left = value; }
    void setTop(float value) override { m_geometry.top = value; }
    void setWidth(float value) override { m_geometry.width = value; }
    void setHeight(float value) override { m_geometry.height = value; }
    bool isVisible() const override { return false; }
    void setVisible(bool) override {}
    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override { m_picture = std::move(picture); }

private:
    std::string m_name;
    ControlGeometry m_geometry;
    Picture m_picture;
};

// A rectangle outline; transparent for the mouse, so the window gets its events.
class OutlineWidget : public QWidget, public Outline {
public:
    explicit OutlineWidget(QWidget* parent);

    float left() const override { return m_geometry.left; }
    float top() const override { return m_geometry.top; }
    float width() const override { return m_geometry.width; }
    float height() const override { return m_geometry.height; }
    void setLeft(float value) override;
    void setTop(float value) override;
    void setWidth(float value) override;
    void setHeight(float value) override;
    bool isVisible() const override { return !isHidden(); }
    void setVisible(bool visible) override { QWidget::setVisible(visible); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void place();
    ControlGeometry m_geometry;
};

}  // namespace window
