#pragma once

// Page markers: icons and number boxes that are not windows but records,
// painted by one layer over the sheet outlines. Thousands of child windows
// would take seconds to paint and minutes to destroy; one layer paints
// thousands of markers in milliseconds. The layer takes no mouse input; the
// window asks hitTest() where a press or move lands.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/MarkerRecords.h"
#include "window/win32/Geometry.h"

namespace window::win32 {

// Every marker is a record; a change repaints where it was and where it is.
using MarkerIcon = MarkerRecords<ControlGeometry>::Icon;
using MarkerNumber = MarkerRecords<ControlGeometry>::Number;
using IconArray = MarkerRecords<ControlGeometry>::Icons;
using NumberArray = MarkerRecords<ControlGeometry>::Numbers;

// Paints every visible marker: icons first, number boxes on top, as text boxes
// lie above pictures.
class MarkerLayer : private RecordObserver<ControlGeometry>, public MarkerRecords<ControlGeometry> {
public:
    // `changed` is told the window area to repaint after a marker changed.
    explicit MarkerLayer(std::function<void(const RECT&)> changed);
    ~MarkerLayer() override;
    MarkerLayer(const MarkerLayer&) = delete;
    MarkerLayer& operator=(const MarkerLayer&) = delete;

    // Whether a visible marker lies under the point (window units, edges included).
    bool hitTest(double x, double y) const;

    // Draws markers at `scale` screen pixels per window unit from now on,
    // numbers in a font of that scale; the caller repaints.
    void setScale(double scale);
    double scale() const { return m_scale; }

    // Paints the markers that meet `dirty` onto `dc`, in the client area's pixels.
    void paint(HDC dc, const RECT& dirty) const;

    // A marker changed from `before` to `after` (pixels); repaints both places.
    void changed(const RECT& before, const RECT& after);

private:
    void recordChanged(const ControlGeometry& before, const ControlGeometry& after) override {
        changed(before.pixels(m_scale), after.pixels(m_scale));
    }
    void paintIcons(HDC dc, const IconArray& icons, const RECT& dirty) const;
    void paintNumbers(HDC dc, const NumberArray& numbers, const RECT& dirty) const;

    std::function<void(const RECT&)> m_changed;
    double m_scale = 1.0;
    HFONT m_font = nullptr;
};

}  // namespace window::win32
