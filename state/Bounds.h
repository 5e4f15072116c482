#pragma once

namespace state {

// An item's box as the host gives it: host units, y growing downwards; the
// host's bounds order is top, left, bottom, right.
struct Bounds {
    double top = 0.0;
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;

    double width() const { return right - left; }
    double height() const { return bottom - top; }

    friend bool operator==(const Bounds&, const Bounds&) = default;
};

}  // namespace state
