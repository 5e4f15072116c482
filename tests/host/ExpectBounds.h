#pragma once

// Comparing boxes side by side, for the host tests and the tests that read
// back what the tool wrote into a host.

#include <gtest/gtest.h>

#include "state/Bounds.h"

namespace testing_support {

inline void expectBoundsNear(const state::Bounds& actual, const state::Bounds& expected,
                             double tolerance) {
    EXPECT_NEAR(actual.top, expected.top, tolerance) << "top";
    EXPECT_NEAR(actual.left, expected.left, tolerance) << "left";
    EXPECT_NEAR(actual.bottom, expected.bottom, tolerance) << "bottom";
    EXPECT_NEAR(actual.right, expected.right, tolerance) << "right";
}

}  // namespace testing_support
