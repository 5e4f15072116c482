#include "host/idml/IdmlTransform.h"

#include <charconv>
#include <cmath>

#include "host/HostError.h"

namespace host::idml {

Transform Transform::after(const Transform& inner) const {
    return {a * inner.a + c * inner.b,        b * inner.a + d * inner.b,
            a * inner.c + c * inner.d,        b * inner.c + d * inner.d,
            a * inner.tx + c * inner.ty + tx, b * inner.tx + d * inner.ty + ty};
}

Transform Transform::inverse() const {
    const double det = determinant();
    if (!std::isfinite(det) || std::abs(det) < 1e-12) {
        throw HostError("A page item's transformation cannot be undone: it flattens the item.");
    }
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

double Transform::angle() const {
    // y grows downwards: a counter-clockwise turn takes the x axis to (cos, -sin).
    const Turn exact[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    const double scale = std::hypot(a, b);
    for (int quarter = 0; quarter < 4; ++quarter) {
        if (nearlyEqual(a, exact[quarter].cos * scale) &&
            nearlyEqual(-b, exact[quarter].sin * scale)) {
            return 90.0 * quarter;
        }
    }
    return normalizedDegrees(std::atan2(-b, a) * 180.0 / M_PI);
}

bool Transform::shearedOrMirrored() const {
    const double scaleX = std::hypot(a, b);
    const double scaleY = std::hypot(c, d);
    const double dot = a * c + b * d;
    return determinant() <= 0.0 || std::abs(dot) > 1e-9 * std::max(1.0, scaleX * scaleY);
}

Transform Transform::rotation(double degrees) {
    const Turn turn = turnOf(degrees);
    return {turn.cos, -turn.sin, turn.sin, turn.cos, 0.0, 0.0};
}

std::optional<std::vector<double>> parseNumbers(std::string_view text) {
    std::vector<double> numbers;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) {
            ++at;
        }
        if (at == text.size()) {
            return numbers;
        }
        double value = 0.0;
        const char* first = text.data() + at;
        const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
        if (error != std::errc() || !std::isfinite(value) ||
            (end != text.data() + text.size() && *end != ' ' && *end != '\t' && *end != '\n' &&
             *end != '\r')) {
            return std::nullopt;
        }
        numbers.push_back(value);
        at = static_cast<std::size_t>(end - text.data());
    }
}

std::optional<Transform> parseTransform(std::string_view text) {
    const auto numbers = parseNumbers(text);
    if (!numbers || numbers->size() != 6) {
        return std::nullopt;
    }
    const auto& n = *numbers;
    return Transform{n[0], n[1], n[2], n[3], n[4], n[5]};
}

std::string numberText(double value) {
    if (value == 0.0) {
        return "0";  // never "-0"
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string transformText(const Transform& t) {
    return numberText(t.a) + " " + numberText(t.b) + " " + numberText(t.c) + " " + numberText(t.d) +
           " " + numberText(t.tx) + " " + numberText(t.ty);
}

}  // namespace host::idml
