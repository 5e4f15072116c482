#include "host/ItemGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "host/HostError.h"

namespace host {

namespace {

std::string describe(const Bounds& box) {
    std::ostringstream text;
    text << "{" << box.top << ", " << box.left << ", " << box.bottom << ", " << box.right << "}";
    return text.str();
}

}  // namespace

bool nearlyEqual(double a, double b) {
    return std::abs(a - b) <= kGeometryTolerance * std::max({1.0, std::abs(a), std::abs(b)});
}

double normalizedDegrees(double degrees) {
    double reduced = std::fmod(degrees, 360.0);
    if (reduced < 0.0) {
        reduced += 360.0;
    }
    return reduced >= 360.0 ? 0.0 : reduced + 0.0;  // + 0.0 turns -0 into 0
}

Turn turnOf(double degrees) {
    // Reduce first so that right angles hit the exact table below instead of going through pi.
    const double reduced = normalizedDegrees(degrees);
    if (reduced == 0.0) {
        return {1.0, 0.0};
    }
    if (reduced == 90.0) {
        return {0.0, 1.0};
    }
    if (reduced == 180.0) {
        return {-1.0, 0.0};
    }
    if (reduced == 270.0) {
        return {0.0, -1.0};
    }
    const double radians = reduced * std::numbers::pi / 180.0;
    return {std::cos(radians), std::sin(radians)};
}

Point turnAbout(Point point, Point pivot, double degrees) {
    const Turn turn = turnOf(degrees);
    const double dx = point.x - pivot.x;
    const double dy = point.y - pivot.y;
    // y grows downwards, so a counter-clockwise turn on screen has the sine's sign flipped.
    return {pivot.x + dx * turn.cos + dy * turn.sin, pivot.y - dx * turn.sin + dy * turn.cos};
}

Point centreOf(const Bounds& box) {
    return {(box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0};
}

Bounds unite(const Bounds& a, const Bounds& b) {
    return {std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
            std::max(a.right, b.right)};
}

Bounds boxOf(const Frame& frame, double degrees) {
    const Turn turn = turnOf(degrees);
    const double c = std::abs(turn.cos);
    const double s = std::abs(turn.sin);
    const double width = frame.width * c + frame.height * s;
    const double height = frame.width * s + frame.height * c;
    return {frame.centre.y - height / 2.0, frame.centre.x - width / 2.0,
            frame.centre.y + height / 2.0, frame.centre.x + width / 2.0};
}

Frame fitFrame(const Frame& current, double degrees, const Bounds& box) {
    const double width = box.width();
    const double height = box.height();
    if (!(width >= 0.0 && height >= 0.0)) {
        throw HostError("The bounds " + describe(box) + " are inverted.");
    }
    Frame frame{centreOf(box), current.width, current.height};
    const Bounds now = boxOf(current, degrees);
    if (nearlyEqual(now.width(), width) && nearlyEqual(now.height(), height)) {
        // A move only: solving for the sides again would only add rounding.
        return frame;
    }
    const Turn turn = turnOf(degrees);
    const double c = std::abs(turn.cos);
    const double s = std::abs(turn.sin);
    const double det = c * c - s * s;
    if (std::abs(det) < kGeometryTolerance) {
        // Only w + h shows in the box here, so keep the frame's proportions.
        const double sides = current.width + current.height;
        const double scale = (width + height) / (c + s);
        frame.width = sides > 0.0 ? scale * current.width / sides : scale / 2.0;
        frame.height = sides > 0.0 ? scale * current.height / sides : scale / 2.0;
        return frame;
    }
    frame.width = (width * c - height * s) / det;
    frame.height = (height * c - width * s) / det;
    // Rounding leaves a line's zero side a hair below zero; a real shortfall has no frame.
    const double tolerance = kGeometryTolerance * std::max({width, height, 1.0});
    if (frame.width < -tolerance || frame.height < -tolerance) {
        std::ostringstream text;
        text << "No frame turned by " << degrees << " degrees has the bounds " << describe(box)
             << ".";
        throw HostError(text.str());
    }
    frame.width = std::max(frame.width, 0.0);
    frame.height = std::max(frame.height, 0.0);
    return frame;
}

}  // namespace host
