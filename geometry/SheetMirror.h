#pragma once

// Mirroring an item's visible box across the press sheet. Coordinates are host
// units in the host's bounds order (top, left, bottom, right); the sheet spans
// 0 .. sheetWidth horizontally and 0 .. sheetHeight vertically.

#include <string>

namespace geometry {

// Left-right (`flipLeftRight` true) maps x to sheetWidth - x; top-bottom maps y to
// sheetHeight - y. Each edge is computed from the item's edge and its size along
// that axis (height = bottom - top, width = right - left), so the mirrored box
// keeps the size it was given.
class SheetMirror {
public:
    SheetMirror(double sheetWidth, double sheetHeight, bool flipLeftRight);

    double top(double top, double height) const;
    double left(double left, double width) const;
    double bottom(double bottom, double height) const;
    double right(double right, double width) const;

    // Throws state::PrecisionError naming `what` unless the edges `mirroredLow` and
    // `mirroredHigh` are, to a millionth of the size, the mirror images of `low` and
    // `high` along the flipped axis with size `size`: on a sheet so large that its
    // edges round the size away, a box would shrink or vanish on the back.
    static void requireExact(double low, double high, double size, double mirroredLow,
                             double mirroredHigh, const std::string& what);

private:
    double m_sheetWidth;
    double m_sheetHeight;
    bool m_flipLeftRight;
};

}  // namespace geometry
