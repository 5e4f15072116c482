#pragma once

// InDesign's 2 x 3 transformation matrices ("a b c d tx ty" in an
// ItemTransform): a point (x, y) of an item's own coordinates lands at
// (a x + c y + tx, b x + d y + ty) in its parent's, y growing downwards.
// Lengths are points, as every IDML part stores them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ItemGeometry.h"

namespace host::idml {

struct Transform {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 1.0;
    double tx = 0.0;
    double ty = 0.0;

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // First `inner`, then this.
    Transform after(const Transform& inner) const;
    // Throws HostError when the matrix cannot be inverted.
    Transform inverse() const;
    double determinant() const { return a * d - b * c; }
    // Shown angle: counter-clockwise degrees of the x axis, in [0, 360).
    double angle() const;
    // A shear (axes no longer at right angles) or a mirror (a negative determinant).
    bool shearedOrMirrored() const;

    static Transform translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Transform scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }
    // Counter-clockwise on screen by `degrees` about the origin.
    static Transform rotation(double degrees);
};

// Six numbers separated by blanks, all finite; nothing otherwise.
std::optional<Transform> parseTransform(std::string_view text);
std::string transformText(const Transform& transform);

// Blank-separated finite numbers; nothing when one is not such a number.
std::optional<std::vector<double>> parseNumbers(std::string_view text);
// The shortest text that reads back as `value`.
std::string numberText(double value);

}  // namespace host::idml
