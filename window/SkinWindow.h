#pragma once

// The borderless, skinned tool window: owns every designed control, routes
// the pointer the way the tool expects and hands each event to its handler
// inside the event guard.

#include <QPixmap>
#include <QWidget>
#include <memory>
#include <vector>

#include "window/FormHandlers.h"
#include "window/MarkerLayer.h"
#include "window/QtControls.h"
#include "window/Toolkit.h"

namespace window {

class EventGuard;

inline constexpr const char* kApplicationTitle = "Quarvel 0-3";
inline constexpr const char* kCaption = "Quarvel";
inline constexpr int kClientWidth = 820;
inline constexpr int kClientHeight = 558;
inline constexpr float kTwipsPerPixel = 15.0f;

class SkinWindow : public QWidget, public FormWindow {
    Q_OBJECT
public:
    SkinWindow();
    ~SkinWindow() override;

    Controls& controls() { return *m_controls; }
    MarkerLayer& markers() { return *m_markers; }
    PictureWidget& pictureWidget(const char* name) const;

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

private:
    PictureWidget* addPicture(const char* name, QRect designed, const char* artwork);
    SourcePicture& addSource(const char* artwork);
    void dispatch(void (FormHandlers::*handler)());

    QPixmap m_skin;
    std::vector<std::unique_ptr<SourcePicture>> m_sources;
    OutlineWidget* m_shape1;
    OutlineWidget* m_shape2;
    MarkerLayer* m_markers;
    std::unique_ptr<Controls> m_controls;
    FormHandlers* m_handlers = nullptr;
    EventGuard* m_guard = nullptr;
    // A press that began on a marker owns the pointer until released.
    bool m_pressOnMarker = false;
};

}  // namespace window
