#include "geometry/LineMirror.h"

#include "geometry/Orientation.h"
#include "geometry/SheetMirror.h"

namespace geometry {

state::MirrorResult reflectBounds(const state::ToolState& tool, double top, double left,
                                  double bottom, double right, double angle) {
    // A line has no stored size; measuring it the way the capture measures a
    // rectangle makes a line and a rectangle with the same bounds land on the
    // same back position.
    const double width = right - left;
    const double height = bottom - top;
    const SheetMirror mirror(tool.sheetWidth.value(), tool.sheetHeight.value(), tool.flipLeftRight);

    state::MirrorResult result;
    result.angle = ReflectAngle(angle, tool.flipLeftRight);
    result.bounds = {mirror.top(top, height), mirror.left(left, width),
                     mirror.bottom(bottom, height), mirror.right(right, width)};
    if (tool.flipLeftRight) {
        SheetMirror::requireExact(left, right, width, result.bounds.left, result.bounds.right,
                                  "a line");
    } else {
        SheetMirror::requireExact(top, bottom, height, result.bounds.top, result.bounds.bottom,
                                  "a line");
    }
    return result;
}

}  // namespace geometry
