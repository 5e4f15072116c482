#pragma once

#include <array>

namespace state {

// A mirrored line: its new bounds (top, left, bottom, right; host units), handed
// to the host whole, and its new rotation angle in degrees.
struct MirrorResult {
    std::array<double, 4> bounds{};
    double angle = 0.0;

    friend bool operator==(const MirrorResult&, const MirrorResult&) = default;
};

}  // namespace state
