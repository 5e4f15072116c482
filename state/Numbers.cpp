#include "state/Numbers.h"

#include <cmath>
#include <limits>

#include "state/Errors.h"

namespace state {

namespace {

constexpr double kMin = std::numeric_limits<std::int16_t>::min();
constexpr double kMax = std::numeric_limits<std::int16_t>::max();

// std::nearbyint honours the rounding mode, which is round-to-nearest-even
// unless someone changed it; we never do.
double roundHalfEven(double value) {
    return std::nearbyint(value);
}

}  // namespace

std::int16_t toInt16Clamped(double value) {
    if (std::isnan(value)) {
        throw OverflowError("a computed window position is not a number");
    }
    const double rounded = roundHalfEven(value);
    if (rounded < kMin) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (rounded > kMax) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace state
