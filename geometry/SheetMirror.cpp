#include "geometry/SheetMirror.h"

namespace geometry {

// The back-side table and the line mirror both go through these, so they agree
// bit for bit on the same box. A mirrored edge is (sheet - edge) -/+ size, in
// that grouping and from the size the caller holds, so the box is placed by its
// own edge and keeps its size. The axis that is not mirrored passes through untouched, with no
// 0 * x + 1 * y arithmetic that would turn a minus zero into a plus zero.

SheetMirror::SheetMirror(double sheetWidth, double sheetHeight, bool flipLeftRight)
    : m_sheetWidth(sheetWidth), m_sheetHeight(sheetHeight), m_flipLeftRight(flipLeftRight) {}

double SheetMirror::top(double top, double height) const {
    return m_flipLeftRight ? top : (m_sheetHeight - top) - height;
}

double SheetMirror::left(double left, double width) const {
    return m_flipLeftRight ? (m_sheetWidth - left) - width : left;
}

double SheetMirror::bottom(double bottom, double height) const {
    return m_flipLeftRight ? bottom : (m_sheetHeight - bottom) + height;
}

double SheetMirror::right(double right, double width) const {
    return m_flipLeftRight ? (m_sheetWidth - right) + width : right;
}

}  // namespace geometry
