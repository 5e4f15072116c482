#pragma once

#include "state/Bounds.h"

namespace state {

// A mirrored line: its new bounds (host units), handed to the host whole, and
// its new rotation angle in degrees.
struct MirrorResult {
    Bounds bounds{};
    double angle = 0.0;

    friend bool operator==(const MirrorResult&, const MirrorResult&) = default;
};

}  // namespace state
