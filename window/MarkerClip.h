#pragma once

// How much of a page marker's picture to draw. A marker's icon is its picture
// stretched over the marker's box; a rectangle far larger than the sheet makes
// a box of up to 65,535 pixels a side, of which the window shows a few hundred.
// Only the part that shows is drawn, so that drawing costs what shows. Window
// pixels, x to the right, y downwards; toolkit-free, for every window backend.

#include <algorithm>

namespace window {

struct PixelBox {
    long long left = 0;
    long long top = 0;
    long long width = 0;
    long long height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
};

// The part of `marker` that lies within `view` (the area markers are painted
// on), in window pixels; empty when nothing of it shows.
inline PixelBox visiblePart(const PixelBox& marker, const PixelBox& view) {
    if (marker.empty() || view.empty()) {
        return {};
    }
    const long long left = std::max(marker.left, view.left);
    const long long top = std::max(marker.top, view.top);
    const long long right = std::min(marker.left + marker.width, view.left + view.width);
    const long long bottom = std::min(marker.top + marker.height, view.top + view.height);
    if (right <= left || bottom <= top) {
        return {};
    }
    return {left, top, right - left, bottom - top};
}

}  // namespace window
