#include "geometry/SheetMirror.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "state/Errors.h"

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

void SheetMirror::requireExact(double low, double high, double size, double mirroredLow,
                               double mirroredHigh, const std::string& what) {
    // Exactly, (sheet - low - size) and (sheet - high + size) span 2 size - (high - low).
    const double span = mirroredHigh - mirroredLow;
    const double expected = 2.0 * size - (high - low);
    const double tolerance = 1e-6 * std::max({1.0, std::abs(size), std::abs(high - low)});
    // Also refuses infinities and not-a-number, which no comparison lets through.
    if (!(std::abs(span - expected) <= tolerance)) {
        std::ostringstream message;
        message << "The sheet is too large for " << what << " to keep its size on the back side ("
                << expected << " becomes " << span << "); draw the sheet at a smaller size.";
        throw state::PrecisionError(message.str());
    }
}

}  // namespace geometry
