#pragma once

// Page markers: icons and number boxes that are not widgets but records
// painted by one transparent layer over the sheet outlines. A window may hold
// tens of thousands of them, far more than Qt can stack as sibling widgets.

#include <QFont>
#include <QWidget>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "window/MarkerRecords.h"
#include "window/qt/DigitPictures.h"
#include "window/qt/QtControls.h"

namespace window::qt {

// Every marker is a record; every change repaints the layer.
using MarkerIcon = MarkerRecords<ControlGeometry>::Icon;
using MarkerNumber = MarkerRecords<ControlGeometry>::Number;
using IconArray = MarkerRecords<ControlGeometry>::Icons;
using NumberArray = MarkerRecords<ControlGeometry>::Numbers;

// Paints every visible marker: icons first, number boxes on top, as text boxes
// lie above pictures. Transparent for the mouse; the window asks hitTest().
class MarkerLayer : public QWidget,
                    private RecordObserver<ControlGeometry>,
                    public MarkerRecords<ControlGeometry> {
public:
    explicit MarkerLayer(QWidget* parent);

    // Whether a visible marker lies under the window point.
    bool hitTest(QPointF point) const;

    static QFont numberFont();

private:
    void recordChanged(const ControlGeometry&, const ControlGeometry&) override { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintIcons(QPainter& painter, const IconArray& icons, const QRect& dirty);
    // Numbers in digits show only where they fit in their icons: on markers a
    // few pixels wide no number can be read.
    void paintNumbers(QPainter& painter, const NumberArray& numbers, const IconArray& icons,
                      const QRect& dirty);
    // The part `part` (picture pixels) of `picture` stretched to `size`.
    // The part `part` of the picture stretched to `size` (window pixels),
    // rendered at the screen's pixels (`ratio` of them to a window pixel).
    const QPixmap& scaled(const PictureData& picture, QSize size, QRect part, qreal ratio);

    // Icons drawn at each marker's size (the part that shows), so a repaint does
    // not rescale them.
    std::map<std::tuple<const PictureData*, int, int, int, int, int, int, qreal>, QPixmap> m_scaled;
    std::unique_ptr<DigitPictures> m_digits;  // made at the first paint
};

}  // namespace window::qt
