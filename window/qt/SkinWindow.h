#pragma once

// The borderless, skinned tool window: owns every designed control, routes
// the pointer the way the tool expects and hands each event to its handler
// inside the event guard. Esc, Alt+F4 and the window manager's close are
// Forget; Enter does nothing.

#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "window/Design.h"
#include "window/DesignedControls.h"
#include "window/FormHandlers.h"
#include "window/Toolkit.h"
#include "window/qt/MarkerLayer.h"
#include "window/qt/QtControls.h"

namespace window::form {
class EventGuard;
}

namespace window::qt {

using form::EventGuard;

class SkinWindow : public QWidget, public FormWindow, private ControlMaker {
    Q_OBJECT
public:
    SkinWindow();
    ~SkinWindow() override;

    Controls& controls() { return *m_controls; }
    MarkerLayer& markers() { return *m_markers; }
    PictureWidget& pictureWidget(std::string_view name) const;

    // Routes every event to `handlers` through `guard`; both outlive the window.
    void connectHandlers(FormHandlers& handlers, EventGuard& guard);

    float left() const override;
    float top() const override;
    void setLeft(float twips) override;
    void setTop(float twips) override;
    void showMessage(const std::string& text) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls of the design table, as makeDesignedControls() asks for them.
    ControlArray<PictureControl>& pictureArray(std::string_view name) override;
    ControlArray<TextBox>& numberArray(std::string_view name) override;
    Outline& makeOutline(const ControlDesign& design) override;
    PictureControl& makePictureBox(const ControlDesign& design) override;
    SourcePicture& pictureSource(std::string_view name) override;
    MarkerLayer& markerLayer();
    void dispatch(void (FormHandlers::*handler)());

    QPixmap m_skin;
    PictureSources m_sources{makePicture};
    MarkerLayer* m_markers = nullptr;
    std::unique_ptr<Controls> m_controls;
    FormHandlers* m_handlers = nullptr;
    EventGuard* m_guard = nullptr;
    // A press that began on a marker owns the pointer until released.
    bool m_pressOnMarker = false;
};

}  // namespace window::qt
